#include "lib/cf/ObjectHeader.h"

#include <initializer_list>
#include <vector>

namespace cf {

namespace {

TCustomNativeComponent* ComponentOf(void* self) {
    return static_cast<TCustomNativeComponent**>(self)[4];
}

// Nothing may reach the platform: every entry point answers `fallback` on any failure.
template <typename R, typename F>
R Shielded(R fallback, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

template <typename F>
void Shielded(F&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

void ADDIN_API SpareSlot(void*) {}

// IInitDoneBase
bool ADDIN_API EpInit(void* self, void* connection) {
    return Shielded(false, [&] { return ComponentOf(self)->Init(connection); });
}
bool ADDIN_API EpSetMemManager(void* self, void* memoryManager) {
    return Shielded(false, [&] { return ComponentOf(self)->setMemManager(memoryManager); });
}
long ADDIN_API EpGetInfo(void* self) { return Shielded(0L, [&] { return ComponentOf(self)->GetInfo(); }); }
void ADDIN_API EpDone(void* self) { Shielded([&] { ComponentOf(self)->Done(); }); }

// ILanguageExtenderBase
bool ADDIN_API EpRegisterExtensionAs(void* self, WCHAR_T** name) {
    return Shielded(false, [&] { return ComponentOf(self)->RegisterExtensionAs(name); });
}
long ADDIN_API EpGetNProps(void* self) { return Shielded(0L, [&] { return ComponentOf(self)->GetNProps(); }); }
long ADDIN_API EpFindProp(void* self, const WCHAR_T* name) {
    return Shielded(-1L, [&] { return ComponentOf(self)->FindProp(name); });
}
const WCHAR_T* ADDIN_API EpGetPropName(void* self, long number, long alias) {
    return Shielded<const WCHAR_T*>(nullptr, [&] { return ComponentOf(self)->GetPropName(number, alias); });
}
bool ADDIN_API EpGetPropValue(void* self, long number, tVariant* value) {
    return Shielded(false, [&] { return ComponentOf(self)->GetPropValue(number, value); });
}
bool ADDIN_API EpSetPropValue(void* self, long number, tVariant* value) {
    return Shielded(false, [&] { return ComponentOf(self)->SetPropValue(number, value); });
}
bool ADDIN_API EpIsPropReadable(void* self, long number) {
    return Shielded(false, [&] { return ComponentOf(self)->IsPropReadable(number); });
}
bool ADDIN_API EpIsPropWritable(void* self, long number) {
    return Shielded(false, [&] { return ComponentOf(self)->IsPropWritable(number); });
}
long ADDIN_API EpGetNMethods(void* self) { return Shielded(0L, [&] { return ComponentOf(self)->GetNMethods(); }); }
long ADDIN_API EpFindMethod(void* self, const WCHAR_T* name) {
    return Shielded(-1L, [&] { return ComponentOf(self)->FindMethod(name); });
}
const WCHAR_T* ADDIN_API EpGetMethodName(void* self, long number, long alias) {
    return Shielded<const WCHAR_T*>(nullptr, [&] { return ComponentOf(self)->GetMethodName(number, alias); });
}
long ADDIN_API EpGetNParams(void* self, long number) {
    return Shielded(0L, [&] { return ComponentOf(self)->GetNParams(number); });
}
bool ADDIN_API EpGetParamDefValue(void* self, long number, long parameter, tVariant* value) {
    return Shielded(false, [&] { return ComponentOf(self)->GetParamDefValue(number, parameter, value); });
}
bool ADDIN_API EpHasRetVal(void* self, long number) {
    return Shielded(false, [&] { return ComponentOf(self)->HasRetVal(number); });
}
bool ADDIN_API EpCallAsProc(void* self, long number, tVariant* params, long count) {
    return Shielded(false, [&] { return ComponentOf(self)->CallAsProc(number, params, count); });
}
bool ADDIN_API EpCallAsFunc(void* self, long number, tVariant* returnValue, tVariant* params, long count) {
    return Shielded(false, [&] { return ComponentOf(self)->CallAsFunc(number, returnValue, params, count); });
}

// LocaleBase
void ADDIN_API EpSetLocale(void* self, const WCHAR_T* locale) {
    Shielded([&] { ComponentOf(self)->SetLocale(locale); });
}

// The fourth interface of newer platforms.
void ADDIN_API EpSetUserInterfaceLanguageCode(void* self, const WCHAR_T* code) {
    Shielded([&] { ComponentOf(self)->SetUserInterfaceLanguageCode(code); });
}

template <typename F>
const void* Entry(F* function) {
    return reinterpret_cast<const void*>(function);
}

// One interface table: on targets with two destructor slots the two words
// before it carry the offset to the object's start and a type-info pointer.
class InterfaceTable {
public:
    InterfaceTable(int tableIndex, std::initializer_list<const void*> operations) {
        if (abi::kDtorSlots == 2) {
            words_.push_back(reinterpret_cast<const void*>(-static_cast<std::ptrdiff_t>(tableIndex * sizeof(void*))));
            words_.push_back(nullptr);
            start_ = 2;
        }
        const std::vector<const void*> destructors = DestructorSlots(tableIndex);
        words_.insert(words_.end(), destructors.begin(), destructors.end());
        words_.insert(words_.end(), operations);
    }
    const void* const* Start() const { return words_.data() + start_; }

private:
    std::vector<const void*> words_;
    std::size_t start_ = 0;
};

const InterfaceTable& Table(int index) {
    static const InterfaceTable tables[kInterfaceTables] = {
        InterfaceTable(0, {Entry(&EpInit), Entry(&EpSetMemManager), Entry(&EpGetInfo), Entry(&EpDone)}),
        InterfaceTable(1, {Entry(&EpRegisterExtensionAs), Entry(&EpGetNProps), Entry(&EpFindProp),
                           Entry(&EpGetPropName), Entry(&EpGetPropValue), Entry(&EpSetPropValue),
                           Entry(&EpIsPropReadable), Entry(&EpIsPropWritable), Entry(&EpGetNMethods),
                           Entry(&EpFindMethod), Entry(&EpGetMethodName), Entry(&EpGetNParams),
                           Entry(&EpGetParamDefValue), Entry(&EpHasRetVal), Entry(&EpCallAsProc),
                           Entry(&EpCallAsFunc)}),
        InterfaceTable(2, {Entry(&EpSetLocale), Entry(&SpareSlot)}),
        InterfaceTable(3, {Entry(&EpSetUserInterfaceLanguageCode)}),
    };
    return tables[index];
}

}  // namespace

TObjectHeader* NewObjectHeader(TCustomNativeComponent* component) {
    auto* header = new TObjectHeader{};
    for (int i = 0; i < kInterfaceTables; ++i) {
        header->Object[i] = Table(i).Start();
        header->SelfN[i] = component;
    }
    header->Self = component;
    return header;
}

void DestroyObjectHeader(TObjectHeader* header) noexcept {
    Shielded([&] { header->Self->BeforeDestruction(); });
    Shielded([&] { delete header->Self; });
    delete header;
}

void DeleteThroughTable(void* tablePointer, int tableIndex) noexcept {
    // Each table pointer sits at its own word of the header.
    DestroyObjectHeader(reinterpret_cast<TObjectHeader*>(static_cast<const void**>(tablePointer) - tableIndex));
}

}  // namespace cf
