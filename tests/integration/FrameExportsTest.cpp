// The three exports, the object header and the lifecycle operations,
// reached only through raw table slots.
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "tests/integration/FrameFixture.h"

using namespace host_emulation;

TEST(Exports, ClassNamesAreJoinedByOneBar) {
    EXPECT_EQ(TestFrameLibrary().GetClassNames(), u"TestComponent|SecondTestComponent");
    // The answer is the library's own buffer, the same on every call.
    EXPECT_EQ(TestFrameLibrary().RawClassNames(), TestFrameLibrary().RawClassNames());
}

TEST(Exports, ClassObjectOnlyForTheExactName) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(TestFrameLibrary().GetClassObject(u"TESTCOMPONENT", &object), 0);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(TestFrameLibrary().GetClassObject(u"", &object), 0);
    EXPECT_EQ(TestFrameLibrary().GetClassObject(u"TestComponent", &object), 1);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(TestFrameLibrary().DestroyObject(&object), 0);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(TestFrameLibrary().DestroyObject(&object), 0);
    EXPECT_EQ(TestFrameLibrary().DestroyObject(nullptr), 0);
}

TEST(Exports, HeaderCarriesFourTablesAndTheComponentFourWordsOn) {
    void* object = nullptr;
    ASSERT_EQ(TestFrameLibrary().GetClassObject(u"TestComponent", &object), 1);
    void** words = static_cast<void**>(object);
    for (int table = 0; table < 4; ++table) {
        EXPECT_NE(words[table], nullptr) << "table " << table;
        EXPECT_EQ(words[table + kSelfOffsetWords], words[kSelfOffsetWords]) << "Self" << table + 1;
    }
    EXPECT_NE(words[kSelfOffsetWords], nullptr);
    if (kDtorSlots == 2) {
        // Offset-to-top before each table: minus the table pointer's offset in the object.
        for (int table = 0; table < 4; ++table) {
            const auto* functions = static_cast<const std::ptrdiff_t*>(words[table]);
            EXPECT_EQ(functions[-2], -static_cast<std::ptrdiff_t>(table * sizeof(void*)));
        }
    }
    TestFrameLibrary().DestroyObject(&object);
}

namespace {

// TestComponent objects alive in the library, as its second class counts them.
int32_t LiveTestComponents(const ComponentClient& control) {
    tVariant result = EmptyValue();
    EXPECT_TRUE(control.CallAsFunc(control.FindMethod(u"LiveTestComponents"), &result, nullptr, 0));
    return result.intVal;
}

}  // namespace

// A C++ host calls Done and deletes the object through its virtual destructor
// instead of calling DestroyObject.
TEST(ObjectDeletion, DeletingThroughAnyTableFreesTheComponentOnce) {
    HostMemoryManager memory;
    HostConnection connection;
    ComponentClient control(TestFrameLibrary(), u"SecondTestComponent", memory, &connection);
    const int32_t before = LiveTestComponents(control);
    for (int table = 0; table < 4; ++table) {
        ComponentClient component(TestFrameLibrary(), u"TestComponent", memory, &connection);
        EXPECT_EQ(LiveTestComponents(control), before + 1);
        component.Done();
        component.DestroyThroughTable(table);  // frees nothing: only the deleting call may
        EXPECT_EQ(LiveTestComponents(control), before + 1) << table;
        EXPECT_EQ(component.GetInfo(), 2000) << table;
        component.DeleteThroughTable(table);
        EXPECT_EQ(LiveTestComponents(control), before) << table;
    }
    EXPECT_TRUE(memory.Errors().empty());
}

TEST(ObjectDeletion, DestroyObjectFreesTheComponent) {
    HostMemoryManager memory;
    ComponentClient control(TestFrameLibrary(), u"SecondTestComponent", memory, nullptr);
    const int32_t before = LiveTestComponents(control);
    void* object = nullptr;
    ASSERT_EQ(TestFrameLibrary().GetClassObject(u"TestComponent", &object), 1);
    EXPECT_EQ(LiveTestComponents(control), before + 1);
    EXPECT_EQ(TestFrameLibrary().DestroyObject(&object), 0);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(LiveTestComponents(control), before);
}

TEST_F(FrameTest, GetInfoThroughTheFirstTable) { EXPECT_EQ(component->GetInfo(), 2000); }

TEST_F(FrameTest, FourthTableAcceptsTheLanguageCode) {
    component->CallTable<void>(3, kSetUserInterfaceLanguageCodeSlot, u"ru");
    component->Call<void>(kSetLocale, u"ru_RU");
    EXPECT_EQ(component->GetInfo(), 2000);
}

TEST_F(FrameTest, RegisterExtensionAsHandsOverAPlatformString) {
    bool answer = false;
    EXPECT_EQ(component->RegisterExtensionAs(&answer), u"TestComponent");
    EXPECT_TRUE(answer);
}

TEST_F(FrameTest, DoneEmptiesMethodsButKeepsProperties) {
    const long properties = component->GetNProps();
    EXPECT_EQ(properties, 3);
    EXPECT_EQ(component->GetNMethods(), 10);
    component->Done();
    EXPECT_EQ(component->GetNMethods(), 0);
    EXPECT_EQ(component->GetNProps(), properties);
    EXPECT_EQ(Method(u"Add"), -1);
}

TEST_F(FrameTest, MethodLookupAndNames) {
    EXPECT_EQ(Method(u"Add"), 0);
    EXPECT_EQ(Method(u"add"), 0);
    EXPECT_EQ(Method(u"СЛОЖИТЬ"), 0);
    EXPECT_EQ(Method(u"изменитьпервый"), 3);
    EXPECT_EQ(Method(u"Nothing"), -1);
    EXPECT_EQ(component->GetMethodName(0, 0), u"Сложить");
    EXPECT_EQ(component->GetMethodName(0, 1), u"Add");
    EXPECT_EQ(component->GetMethodName(0, 2), u"");
    EXPECT_EQ(component->GetNParams(0), 2);
    EXPECT_EQ(component->GetNParams(2), 0);
    EXPECT_TRUE(component->HasRetVal(1));
    tVariant value = IntValue(5);
    EXPECT_FALSE(component->Call<bool>(kGetParamDefValue, 0L, 0L, &value));
    EXPECT_EQ(value.vt, VTYPE_EMPTY);
}

namespace {

// Every number a platform word can carry that names nothing: on a 64-bit
// `long` also those whose low 32 bits name a method or a property.
std::vector<long> NumbersNamingNothing(long firstBeyondTables) {
    std::vector<long> numbers{-1L, firstBeyondTables, 29999L, 30000L, 30007L, 1000000L, std::numeric_limits<long>::min(),
                              std::numeric_limits<long>::max()};
    if constexpr (sizeof(long) == 8) {
        for (int64_t low : {0, 1, 6, 30000}) numbers.push_back(static_cast<long>((int64_t{1} << 32) + low));
        numbers.push_back(static_cast<long>(int64_t{1} << 40));
    }
    return numbers;
}

std::u16string Decimal(long number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

TEST_F(FrameTest, NumbersOutsideTheTablesGetSafeAnswersOnEveryEntryPoint) {
    const std::vector<long> numbers =
        NumbersNamingNothing(std::max(component->GetNMethods(), component->GetNProps()));
    for (long bad : numbers) {
        EXPECT_EQ(component->GetMethodName(bad, 0), u"") << bad;
        EXPECT_EQ(component->GetMethodName(bad, 1), u"") << bad;
        EXPECT_EQ(component->GetNParams(bad), 0) << bad;
        EXPECT_FALSE(component->HasRetVal(bad)) << bad;
        EXPECT_EQ(component->GetPropName(bad, 0), u"") << bad;
        EXPECT_FALSE(component->IsPropReadable(bad)) << bad;
        EXPECT_FALSE(component->IsPropWritable(bad)) << bad;
        tVariant value = EmptyValue();
        EXPECT_FALSE(component->GetPropValue(bad, value)) << bad;
        EXPECT_FALSE(component->SetPropValue(bad, value)) << bad;
        EXPECT_FALSE(component->CallAsProc(bad, nullptr, 0)) << bad;
        EXPECT_FALSE(component->CallAsFunc(bad, &value, nullptr, 0)) << bad;
        EXPECT_EQ(value.vt, VTYPE_EMPTY) << bad << ": no method ran";
    }
    // Each call refused by number is reported once, naming the whole number.
    ASSERT_EQ(connection.Errors().size(), 2 * numbers.size());
    for (std::size_t i = 0; i < connection.Errors().size(); ++i)
        EXPECT_EQ(connection.Errors()[i].description,
                  u"Индекс за границами массива [" + Decimal(numbers[i / 2]) + u"]");
    // Aliases beyond the two names answer an empty name, never the first one.
    EXPECT_EQ(component->GetMethodName(0, 2), u"");
    if constexpr (sizeof(long) == 8) {
        EXPECT_EQ(component->GetMethodName(0, static_cast<long>(int64_t{1} << 32)), u"");
    }
}

TEST_F(FrameTest, PropertiesByBothNames) {
    const long value = component->FindProp(u"value");
    EXPECT_EQ(value, component->FindProp(u"ЗНАЧЕНИЕ"));
    EXPECT_EQ(component->FindProp(u"lasterrordescription"), 0);
    EXPECT_EQ(component->FindProp(u"описаниепоследнейошибки"), 0);
    EXPECT_EQ(component->FindProp(u"Nothing"), -1);
    EXPECT_EQ(component->GetPropName(0, 0), u"ОписаниеПоследнейОшибки");
    EXPECT_EQ(component->GetPropName(0, 1), u"LastErrorDescription");
    EXPECT_TRUE(component->IsPropReadable(0));
    EXPECT_FALSE(component->IsPropWritable(0));
    EXPECT_TRUE(component->IsPropWritable(value));
}

namespace {

// The property's value as the platform reads it, strings as their text.
std::u16string PropertyText(const ComponentClient& component, HostMemoryManager& memory, long number) {
    tVariant stored = EmptyValue();
    EXPECT_TRUE(component.GetPropValue(number, stored));
    const std::u16string text = stored.vt == VTYPE_I4 ? Decimal(stored.intVal) : StringOf(stored);
    Release(memory, stored);
    return text;
}

}  // namespace

TEST_F(FrameTest, SetPropValueStoresWhatGetPropValueReadsBack) {
    const long number = component->FindProp(u"Value");
    tVariant seven = IntValue(7);
    EXPECT_TRUE(component->SetPropValue(number, seven));
    EXPECT_EQ(PropertyText(*component, memory, number), u"7");
    // A string is the component's own copy: the platform frees its record.
    tVariant text = StringValue(memory, u"семь");
    EXPECT_TRUE(component->SetPropValue(number, text));
    Release(memory, text);
    EXPECT_EQ(PropertyText(*component, memory, number), u"семь");
}

TEST_F(FrameTest, SetPropValueRefusesReadOnlyPropertiesAndValuesItCannotTake) {
    EXPECT_FALSE(component->CallAsFunc(Method(u"Raise"), nullptr, nullptr, 0));
    const std::u16string failure = component->LastErrorDescription();
    ASSERT_FALSE(failure.empty());
    tVariant text = StringValue(memory, u"чужой текст");
    EXPECT_FALSE(component->SetPropValue(component->FindProp(u"LastErrorDescription"), text));
    EXPECT_FALSE(component->SetPropValue(component->FindProp(u"ReadOnly"), text));
    Release(memory, text);
    EXPECT_EQ(component->LastErrorDescription(), failure);
    EXPECT_EQ(PropertyText(*component, memory, component->FindProp(u"ReadOnly")), u"только чтение");

    const long number = component->FindProp(u"Value");
    tVariant unsupported = TypeOnly(VTYPE_INTERFACE);
    EXPECT_FALSE(component->SetPropValue(number, unsupported));
    EXPECT_FALSE(component->Call<bool>(kSetPropValue, number, static_cast<tVariant*>(nullptr)));
    EXPECT_EQ(PropertyText(*component, memory, number), u"42");
}

TEST_F(FrameTest, PropertyStringValueIsAFreshPlatformBlock) {
    tVariant stored = EmptyValue();
    ASSERT_TRUE(component->GetPropValue(component->FindProp(u"ReadOnly"), stored));
    EXPECT_EQ(StringOf(stored), u"только чтение");
    EXPECT_EQ(memory.LiveBlocks(), baseline + 1);
    Release(memory, stored);
}
