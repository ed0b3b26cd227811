#include <gtest/gtest.h>

#include "tests/support/ErrorMessage.h"
#include "lib/cf/Exception.h"
#include "lib/cf/MethodTable.h"
#include "lib/cf/PropertyTable.h"

using namespace cf;

namespace {

using test_support::MessageOf;

TMethodsList StandardMethods() {
    TMethodsList methods;
    methods.Add(u"ПолучитьРевизиюИнтерфейса", u"GetInterfaceRevision", 0, [](VarArrayData&, Variant& r) {
        r = Variant(int32_t{3002});
    });
    methods.Add(u"ПолучитьОписание", u"GetDescription", 1, {});
    return methods;
}

}  // namespace

TEST(MethodTable, LookupByEitherNameInAnyLetterCase) {
    const TMethodsList methods = StandardMethods();
    EXPECT_EQ(methods.Find(u"GetDescription"), 1);
    EXPECT_EQ(methods.Find(u"getdescription"), 1);
    EXPECT_EQ(methods.Find(u"GETDESCRIPTION"), 1);
    EXPECT_EQ(methods.Find(u"ПолучитьОписание"), 1);
    EXPECT_EQ(methods.Find(u"ПОЛУЧИТЬОПИСАНИЕ"), 1);
    EXPECT_EQ(methods.Find(u"getinterfacerevision"), 0);
    EXPECT_EQ(methods.Find(u"Unknown"), -1);
    EXPECT_EQ(methods.Find(u""), -1);
}

TEST(MethodTable, OutsideHookAnswersFrom30000Up) {
    const TMethodsList methods = StandardMethods();
    EXPECT_EQ(methods.Find(u"Extra", [](const std::u16string&) { return 2; }), 30002);
    EXPECT_EQ(methods.Find(u"Extra", [](const std::u16string&) { return -1; }), -1);
}

TEST(MethodTable, DuplicateNameIsRefusedNamingBothNewNames) {
    TMethodsList methods = StandardMethods();
    EXPECT_EQ(MessageOf([&] { methods.Add(u"Другой", u"получитьописание", 0, {}); }),
              u"Метод с указанным именем уже зарегистрирован. [Другой,получитьописание]");
    EXPECT_EQ(methods.Count(), 2);
}

TEST(MethodTable, IndexErrorsAndMissingHandler) {
    TMethodsList methods = StandardMethods();
    VarArrayData args;
    Variant result;
    EXPECT_EQ(MessageOf([&] { methods.Get(2); }), u"Индекс за границами массива [2]");
    EXPECT_EQ(MessageOf([&] { methods.Call(-1, args, result); }), u"Индекс за границами массива [-1]");
    EXPECT_EQ(MessageOf([&] { methods.Call(30000, args, result); }), u"Индекс за границами массива [30000]");
    EXPECT_EQ(MessageOf([&] { methods.Call(1, args, result); }),
              u"mt_Call: Method (Mt.Mt) is not assigned! (lib/cf/AddInLib2000, line 1733)");
    methods.Call(0, args, result);
    EXPECT_EQ(result, Variant(int32_t{3002}));
}

TEST(PropertyTable, DuplicatesButNeverOnEmptyNames) {
    TPropertiesList properties;
    properties.Add(u"IPАдрес", u"IPAddress", false, Variant(u""));
    EXPECT_EQ(MessageOf([&] { properties.Add(u"ipaddress", u"X", false, Variant()); }),
              u"Свойство с указанным именем уже зарегистрировано. [ipaddress,X]");
    properties.Add(u"Новая1", u"", false, Variant());
    properties.Add(u"Новая2", u"", false, Variant());
    EXPECT_EQ(properties.Count(), 3);
    EXPECT_EQ(properties.Find(u""), -1);
    EXPECT_EQ(properties.Find(u"IPADDRESS"), 0);
    EXPECT_EQ(properties.Find(u"ipадрес"), 0);
    EXPECT_EQ(properties.Find(u"новая2"), 2);
}

TEST(PropertyTable, ValueByNameMessages) {
    TPropertiesList properties;
    properties.Add(u"ОписаниеПоследнейОшибки", u"LastErrorDescription", true, Variant(u""));
    properties.Add(u"IPПорт", u"IPPort", false, Variant(u"0"));
    EXPECT_EQ(MessageOf([&] { properties.Value(u"Foo"); }), u"Свойство \"Foo\" не существует");
    EXPECT_EQ(MessageOf([&] { properties.SetValue(u"Foo", Variant()); }), u"Свойство \"Foo\" не существует.");
    EXPECT_EQ(MessageOf([&] { properties.SetValueDirect(u"Foo", Variant()); }), u"Свойство \"Foo\" не существует.");
    EXPECT_EQ(MessageOf([&] { properties.SetValue(u"LastErrorDescription", Variant(u"x")); }),
              u"Свойство \"LastErrorDescription\" запрещено к изменению.");
    properties.SetValueDirect(u"LastErrorDescription", Variant(u"x"));
    EXPECT_EQ(properties.Value(u"lasterrordescription"), Variant(u"x"));
    properties.SetValue(u"ipport", Variant(int32_t{5050}));
    EXPECT_EQ(properties.Value(u"IPPort"), Variant(int32_t{5050}));
    EXPECT_EQ(MessageOf([&] { properties.Get(5); }), u"Индекс за границами массива [5]");
}
