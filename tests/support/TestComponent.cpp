// The test build of the library registers these components instead of the
// driver, to exercise the frame through the real exports and tables.
#include <atomic>
#include <new>
#include <stdexcept>
#include <vector>

#include "common/Common.Log.h"
#include "lib/cf/ClassRegistry.h"
#include "lib/cf/HostValue.h"
#include "lib/cf/LibraryLifetime.h"
#include "lib/cf/TextUtils.h"
#include "lib/cf/uEquipmentErrors.h"
#include "lib/cf/uExtAddInLib2000.h"

namespace {

// TestComponent objects alive: shows whether a way of deleting one freed it.
std::atomic<int32_t> gLiveTestComponents{0};

// Every call through CallAsFunc is traced, as the driver's are.
class TestComponent : public cf::TExtNativeComponent {
public:
    static std::u16string StaticClassName() { return u"TestComponent"; }
    std::u16string NCClassName() const override { return StaticClassName(); }

    ~TestComponent() override { --gLiveTestComponents; }
    TestComponent() {
        ++gLiveTestComponents;
        _mt.Add(u"Сложить", u"Add", 2, [](cf::VarArrayData& args, cf::Variant& result) {
            result = cf::Variant(static_cast<int32_t>(args.at(0).IntegerValue() + args.at(1).IntegerValue()));
        });
        // Hands its argument back unchanged: every conversion both ways.
        _mt.Add(u"Вернуть", u"Echo", 1, [](cf::VarArrayData& args, cf::Variant& result) { result = args.at(0); });
        _mt.Add(u"Поднять", u"Raise", 0, [](cf::VarArrayData&, cf::Variant&) {
            throw cf::EquException(1001, u"Тестовая ошибка");
        });
        _mt.Add(u"ИзменитьПервый", u"ChangeFirst", 2, [](cf::VarArrayData& args, cf::Variant& result) {
            args.at(0) = cf::Variant(u"изменено: " + args.at(0).StringValue());
            result = cf::Variant(true);
        });
        _mt.Add(u"МассивЧисел", u"IntArray", 0, [](cf::VarArrayData&, cf::Variant& result) {
            result = cf::Variant::MakeArray(cf::VarKind::Int32, {cf::Variant(int32_t{1}), cf::Variant(int32_t{2})});
        });
        // A 64-bit integer from a number the platform sends as a double.
        _mt.Add(u"Число", u"Integer", 1, [](cf::VarArrayData& args, cf::Variant& result) {
            result = cf::Variant(static_cast<int64_t>(args.at(0).FloatValue()));
        });
        _mt.Add(u"БезОбработчика", u"NoHandler", 0, nullptr);
        // The runtime's own exceptions, whose English texts must not reach the platform.
        _mt.Add(u"ОшибкаСреды", u"RaiseRuntime", 0, [](cf::VarArrayData&, cf::Variant&) {
            throw std::runtime_error("internal runtime text");
        });
        _mt.Add(u"НетПамяти", u"RaiseBadAlloc", 0, [](cf::VarArrayData&, cf::Variant&) { throw std::bad_alloc(); });
        _mt.Add(u"ЗаГраницей", u"RaiseOutOfRange", 0, [](cf::VarArrayData&, cf::Variant&) {
            (void)std::vector<int>{}.at(3);
        });
        _pl.Add(u"Значение", u"Value", false, cf::Variant(int32_t{42}));
        _pl.Add(u"ТолькоЧтение", u"ReadOnly", true, cf::Variant(u"только чтение"));
    }
};

using cf::VarArrayData;
using cf::Variant;

// Reaches the platform's services and the library's log on request.
class SecondTestComponent : public cf::TExtNativeComponent {
public:
    static std::u16string StaticClassName() { return u"SecondTestComponent"; }
    std::u16string NCClassName() const override { return StaticClassName(); }

    SecondTestComponent() {
        Add(u"РежимЖурнала", u"SetLogMode", 1, [](VarArrayData& a, Variant& r) {
            common::SetLogMode(static_cast<common::TLogMode>(a.at(0).IntegerValue()));
            r = Variant(true);
        });
        Add(u"ИмяЖурнала", u"SetLogStem", 1, [](VarArrayData& a, Variant& r) {
            common::SetLogFileStem(a.at(0).StringValue());
            r = Variant(true);
        });
        Add(u"ПутьЖурнала", u"GetLogPath", 0, [](VarArrayData&, Variant& r) { r = Variant(common::GetLogPath(false)); });
        Add(u"ЖивыхКомпонентов", u"LiveTestComponents", 0,
            [](VarArrayData&, Variant& r) { r = Variant(gLiveTestComponents.load()); });
        Add(u"ВерсияФайла", u"FileVersion", 0, [this](VarArrayData&, Variant& r) { r = Variant(GetFileVersion()); });
        Add(u"Оповестить", u"Alert", 1, [this](VarArrayData& a, Variant&) { Alert(a.at(0).StringValue()); });
        Add(u"Подтвердить", u"Confirm", 1,
            [this](VarArrayData& a, Variant& r) { r = Variant(Confirm(a.at(0).StringValue())); });
        Add(u"ВнешнееСобытие", u"ExternalEvent", 3, [this](VarArrayData& a, Variant& r) {
            r = Variant(ExternalEvent(a.at(0).StringValue(), a.at(1).StringValue(), a.at(2).StringValue()));
        });
        Add(u"УстановитьГлубинуБуфера", u"SetEventBufferDepth", 1, [this](VarArrayData& a, Variant& r) {
            r = Variant(SetEventBufferDepth(static_cast<long>(a.at(0).IntegerValue())));
        });
        Add(u"ГлубинаБуфера", u"GetEventBufferDepth", 0,
            [this](VarArrayData&, Variant& r) { r = Variant(static_cast<int32_t>(GetEventBufferDepth())); });
        Add(u"ОчиститьБуфер", u"CleanEventBuffer", 0, [this](VarArrayData&, Variant&) { CleanEventBuffer(); });
        Add(u"СтрокаСостояния", u"SetStatusLine", 1,
            [this](VarArrayData& a, Variant& r) { r = Variant(SetStatusLine(a.at(0).StringValue())); });
        Add(u"СброситьСтрокуСостояния", u"ResetStatusLine", 0, [this](VarArrayData&, Variant&) { ResetStatusLine(); });
        Add(u"ЗарегистрироватьПрофиль", u"RegisterProfileAs", 1,
            [this](VarArrayData& a, Variant& r) { r = Variant(RegisterProfileAs(a.at(0).StringValue())); });
        // Read(key, out value, out error code, out error description).
        Add(u"Прочитать", u"Read", 4, [this](VarArrayData& a, Variant& r) {
            Variant value;
            long code = 0;
            std::u16string description;
            r = Variant(Read(a.at(0).StringValue(), value, code, description));
            a.at(1) = value;
            a.at(2) = Variant(static_cast<int32_t>(code));
            a.at(3) = Variant(description);
        });
        Add(u"Записать", u"Write", 2,
            [this](VarArrayData& a, Variant& r) { r = Variant(Write(a.at(0).StringValue(), a.at(1))); });
        // "AppVersion|UserAgentInformation|Application"
        Add(u"ИнформацияПлатформы", u"PlatformInfo", 0, [this](VarArrayData&, Variant& r) {
            const cf::RPlatformInfo info = PlatformInfo();
            r = Variant(cf::ReadHostString(info.AppVersion) + u"|" + cf::ReadHostString(info.UserAgentInformation) +
                        u"|" + cf::IntToStr(info.Application));
        });
        Add(u"СообщитьОбОшибке", u"AddError", 4, [this](VarArrayData& a, Variant& r) {
            r = Variant(AddError(static_cast<unsigned short>(a.at(0).IntegerValue()), a.at(1).StringValue(),
                                 a.at(2).StringValue(), static_cast<long>(a.at(3).IntegerValue())));
        });
    }

private:
    void Add(const char16_t* ru, const char16_t* en, int32_t count, cf::TObjectMethod handler) {
        _mt.Add(ru, en, count, std::move(handler));
    }
};

}  // namespace

namespace cf {

void LibraryStart() {
    RegisterComponentClass<TestComponent>();
    RegisterComponentClass<SecondTestComponent>();
}

void LibraryStop() { common::LogModuleStop(); }

}  // namespace cf
