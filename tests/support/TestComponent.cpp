// The test build of the library registers these components instead of the
// driver, to exercise the frame through the real exports and tables.
#include "lib/cf/AddInLib2000.h"
#include "lib/cf/ClassRegistry.h"
#include "lib/cf/LibraryLifetime.h"
#include "lib/cf/uEquipmentErrors.h"

namespace {

class TestComponent : public cf::TCustomNativeComponent {
public:
    static std::u16string StaticClassName() { return u"TestComponent"; }
    std::u16string NCClassName() const override { return StaticClassName(); }

    TestComponent() {
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
        _pl.Add(u"Значение", u"Value", false, cf::Variant(int32_t{42}));
        _pl.Add(u"ТолькоЧтение", u"ReadOnly", true, cf::Variant(u"только чтение"));
    }
};

class SecondTestComponent : public cf::TCustomNativeComponent {
public:
    static std::u16string StaticClassName() { return u"SecondTestComponent"; }
    std::u16string NCClassName() const override { return StaticClassName(); }
};

}  // namespace

namespace cf {

void LibraryStart() {
    RegisterComponentClass<TestComponent>();
    RegisterComponentClass<SecondTestComponent>();
}

void LibraryStop() {}

}  // namespace cf
