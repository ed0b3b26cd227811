#include "forms/uWinBrowser_win.h"

#include <exdisp.h>
#include <ole2.h>

#include "common/uSysError.h"
#include "lib/cf/Exception.h"

namespace forms::win {

namespace {

// MinGW's uuid library lacks the HTML document class.
const CLSID kHtmlDocumentClass = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

[[noreturn]] void RaiseBrowserError(HRESULT AResult) {
    throw cf::Exception(u"Не удалось создать элемент браузера: " + common::SysErrorMessage(static_cast<int>(AResult)));
}

template <typename T>
void ReleaseAndClear(T*& AInterface) {
    if (AInterface) AInterface->Release();
    AInterface = nullptr;
}

}  // namespace

bool HasHtmlEngine() noexcept {
    IUnknown* document = nullptr;
    if (FAILED(CoCreateInstance(kHtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&document))))
        return false;
    document->Release();
    return true;
}

// The container side the control talks to: the client site, the in-place
// site and the frame, all answered by the parent window. Its lifetime is the
// TWebBrowser's, so the reference counts only keep the control's books.
class TBrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit TBrowserSite(HWND AParent) : FParent(AParent) {}

    ~TBrowserSite() {
        if (FObject) {
            FObject->Close(OLECLOSE_NOSAVE);
            FObject->SetClientSite(nullptr);
        }
        ReleaseAndClear(FBrowser);
        ReleaseAndClear(FObject);
    }

    void Embed() {
        HRESULT result = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                          reinterpret_cast<void**>(&FObject));
        if (FAILED(result)) RaiseBrowserError(result);
        result = FObject->SetClientSite(static_cast<IOleClientSite*>(this));
        if (SUCCEEDED(result)) OleSetContainedObject(FObject, TRUE);
        RECT area = ClientArea();
        if (SUCCEEDED(result))
            result = FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, FParent,
                                     &area);
        if (SUCCEEDED(result)) result = FObject->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&FBrowser));
        if (FAILED(result)) RaiseBrowserError(result);
    }

    void Navigate(const std::u16string& AFile) {
        BSTR address = SysAllocString(reinterpret_cast<const OLECHAR*>(AFile.c_str()));
        if (!address) throw cf::Exception(u"Недостаточно памяти");
        const HRESULT result = FBrowser->Navigate(address, nullptr, nullptr, nullptr, nullptr);
        SysFreeString(address);
        if (FAILED(result))
            throw cf::Exception(u"Не удалось открыть страницу \"" + AFile +
                                u"\": " + common::SysErrorMessage(static_cast<int>(result)));
    }

    void Resize(int AWidth, int AHeight) {
        IOleInPlaceObject* inPlace = nullptr;
        if (FAILED(FObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
        const RECT area{0, 0, AWidth, AHeight};
        inPlace->SetObjectRects(&area, &area);
        inPlace->Release();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AId, void** AResult) override {
        if (!AResult) return E_POINTER;
        *AResult = nullptr;
        if (IsEqualIID(AId, IID_IUnknown) || IsEqualIID(AId, IID_IOleClientSite))
            *AResult = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(AId, IID_IOleWindow) || IsEqualIID(AId, IID_IOleInPlaceSite))
            *AResult = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(AId, IID_IOleInPlaceUIWindow) || IsEqualIID(AId, IID_IOleInPlaceFrame))
            *AResult = static_cast<IOleInPlaceFrame*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
    ULONG STDMETHODCALLTYPE Release() override { return FReferences > 1 ? --FReferences : 1; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** AContainer) override {
        if (AContainer) *AContainer = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for the in-place site and the frame alike
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* AWindow) override {
        if (!AWindow) return E_POINTER;
        *AWindow = FParent;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** AFrame, IOleInPlaceUIWindow** ADocument,
                                               LPRECT APosition, LPRECT AClip, LPOLEINPLACEFRAMEINFO AInfo) override {
        if (!AFrame || !ADocument || !APosition || !AClip || !AInfo) return E_POINTER;
        *AFrame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *ADocument = nullptr;
        *APosition = ClientArea();
        *AClip = *APosition;
        AInfo->fMDIApp = FALSE;
        AInfo->hwndFrame = FParent;
        AInfo->haccel = nullptr;
        AInfo->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no menus, tool bars or status line
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    RECT ClientArea() const {
        RECT area{};
        GetClientRect(FParent, &area);
        return area;
    }

    HWND FParent;
    ULONG FReferences = 1;
    IOleObject* FObject = nullptr;
    IWebBrowser2* FBrowser = nullptr;
};

TWebBrowser::TWebBrowser(HWND AParent) : FSite(std::make_unique<TBrowserSite>(AParent)) { FSite->Embed(); }

TWebBrowser::~TWebBrowser() = default;

void TWebBrowser::Navigate(const std::u16string& AFile) { FSite->Navigate(AFile); }

void TWebBrowser::Resize(int AWidth, int AHeight) { FSite->Resize(AWidth, AHeight); }

}  // namespace forms::win
