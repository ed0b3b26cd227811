// Method calls through CallAsProc and CallAsFunc: values both ways, the
// error shields, and ownership of platform memory.
#include <cstring>
#include <utility>
#include <vector>

#include "tests/integration/FrameFixture.h"

using namespace host_emulation;

namespace {

class FrameCalls : public FrameTest {
protected:
    // Echo: one value in, the same value out.
    tVariant Echo(tVariant argument) {
        HostParams params(memory, {argument});
        tVariant result = EmptyValue();
        EXPECT_TRUE(component->CallAsFunc(Method(u"Echo"), &result, params.data(), params.count()));
        return result;
    }
};

}  // namespace

TEST_F(FrameCalls, ValuesTravelBothWays) {
    tVariant i = Echo(IntValue(-12));
    EXPECT_EQ(i.vt, VTYPE_I4);
    EXPECT_EQ(i.intVal, -12);
    tVariant d = Echo(DoubleValue(2.25));
    EXPECT_EQ(d.vt, VTYPE_R8);
    EXPECT_EQ(d.dblVal, 2.25);
    tVariant b = Echo(BoolValue(true));
    EXPECT_EQ(b.vt, VTYPE_BOOL);
    EXPECT_TRUE(b.bVal);
    EXPECT_EQ(Echo(EmptyValue()).vt, VTYPE_EMPTY);
    tVariant date = Echo(TmValue(2024, 1, 31, 23, 59, 59));
    EXPECT_EQ(date.vt, VTYPE_DATE);
    EXPECT_DOUBLE_EQ(date.date, 45322.0 + 86399.0 / 86400.0);
    tVariant s = Echo(StringValue(memory, u"Привет, ёжик"));
    EXPECT_EQ(StringOf(s), u"Привет, ёжик");
    EXPECT_EQ(s.wstrLen, 12u);
    Release(memory, s);
}

TEST_F(FrameCalls, BlobRoundTripFourBytesInFiveElementsFourBytesBack) {
    tVariant result = Echo(BlobValue(memory, {0x00, 0x7F, 0x80, 0xFF}));
    EXPECT_EQ(result.vt, VTYPE_BLOB);
    EXPECT_EQ(BytesOf(result), (std::vector<uint8_t>{0x00, 0x7F, 0x80, 0xFF}));
    Release(memory, result);
}

TEST_F(FrameCalls, IntegerBoundaryThroughTheFrame) {
    HostParams params(memory, {DoubleValue(0)});
    const long integer = Method(u"Integer");
    for (auto [input, vt] : {std::pair{2147483646.0, VTYPE_I4}, {2147483647.0, VTYPE_I8}, {-2147483648.0, VTYPE_I8}}) {
        params[0] = DoubleValue(input);
        tVariant result = EmptyValue();
        ASSERT_TRUE(component->CallAsFunc(integer, &result, params.data(), params.count()));
        EXPECT_EQ(result.vt, vt) << input;
    }
}

TEST_F(FrameCalls, StringResultReplacesAnEarlierPlatformString) {
    HostParams params(memory, {StringValue(memory, u"x")});
    tVariant result = StringValue(memory, u"earlier");
    ASSERT_TRUE(component->CallAsFunc(Method(u"Echo"), &result, params.data(), params.count()));
    EXPECT_EQ(StringOf(result), u"x");
    // The earlier string was released, not leaked: two live strings now.
    EXPECT_EQ(memory.LiveBlocks(), baseline + 2);
    Release(memory, result);
}

TEST_F(FrameCalls, MethodChangesItsFirstArgumentInPlace) {
    HostParams params(memory, {StringValue(memory, u"исходное"), IntValue(1)});
    tVariant result = EmptyValue();
    ASSERT_TRUE(component->CallAsFunc(Method(u"ChangeFirst"), &result, params.data(), params.count()));
    EXPECT_EQ(StringOf(params[0]), u"изменено: исходное");
    EXPECT_EQ(params[1].vt, VTYPE_I4);
    EXPECT_EQ(params[1].intVal, 1);
    EXPECT_EQ(result.vt, VTYPE_BOOL);
    // The old string was released when the new one took its place.
    EXPECT_EQ(memory.LiveBlocks(), baseline + 1);
    // The same through CallAsProc.
    ASSERT_TRUE(component->CallAsProc(Method(u"ChangeFirst"), params.data(), params.count()));
    EXPECT_EQ(StringOf(params[0]), u"изменено: изменено: исходное");
    EXPECT_EQ(memory.LiveBlocks(), baseline + 1);
}

TEST_F(FrameCalls, ArgumentsTheMethodLeavesAloneStayThePlatformsOwnRecords) {
    HostParams params(memory, {StringValue(memory, u"исходное"), StringValue(memory, u"второе")});
    const WCHAR_T* second = params[1].pwstrVal;
    std::size_t allocations = memory.Allocations();
    std::size_t frees = memory.Frees();
    tVariant result = EmptyValue();
    ASSERT_TRUE(component->CallAsFunc(Method(u"ChangeFirst"), &result, params.data(), params.count()));
    // The stored first argument is replaced; the second is not touched at all.
    EXPECT_EQ(StringOf(params[0]), u"изменено: исходное");
    EXPECT_EQ(params[1].pwstrVal, second);
    EXPECT_EQ(StringOf(params[1]), u"второе");
    EXPECT_EQ(memory.Allocations() - allocations, 1u);
    EXPECT_EQ(memory.Frees() - frees, 1u);

    // A method that only reads its argument, through CallAsProc.
    const WCHAR_T* first = params[0].pwstrVal;
    allocations = memory.Allocations();
    frees = memory.Frees();
    ASSERT_TRUE(component->CallAsProc(Method(u"Echo"), params.data(), 1));
    EXPECT_EQ(params[0].pwstrVal, first);
    EXPECT_EQ(memory.Allocations(), allocations);
    EXPECT_EQ(memory.Frees(), frees);
}

TEST_F(FrameCalls, RaisingMethodThroughCallAsProc) {
    EXPECT_FALSE(component->CallAsProc(Method(u"Raise"), nullptr, 0));
    EXPECT_EQ(connection.Errors(), (std::vector<ErrorReport>{{1006, u"Поднять", u"Тестовая ошибка", 1}}));
    // CallAsProc leaves LastErrorDescription alone.
    EXPECT_EQ(component->LastErrorDescription(), u"");
}

TEST_F(FrameCalls, RaisingMethodThroughCallAsFunc) {
    tVariant result = EmptyValue();
    EXPECT_FALSE(component->CallAsFunc(Method(u"поднять"), &result, nullptr, 0));
    EXPECT_EQ(connection.Errors(), (std::vector<ErrorReport>{{1006, u"", u"Тестовая ошибка", 1000}}));
    EXPECT_EQ(component->LastErrorDescription(), u"Function Raise - Тестовая ошибка");
    // The next successful call empties it.
    HostParams params(memory, {IntValue(1), IntValue(2)});
    ASSERT_TRUE(component->CallAsFunc(Method(u"Add"), &result, params.data(), params.count()));
    EXPECT_EQ(result.intVal, 3);
    EXPECT_EQ(component->LastErrorDescription(), u"");
}

TEST_F(FrameCalls, ConversionErrorsEndInTheShield) {
    HostParams params(memory, {TypeOnly(VTYPE_I2)});
    tVariant result = EmptyValue();
    EXPECT_FALSE(component->CallAsFunc(Method(u"Echo"), &result, params.data(), params.count()));
    EXPECT_EQ(component->LastErrorDescription(), u"Function Echo - Неподдерживаемый тип данных");
    EXPECT_FALSE(component->CallAsFunc(Method(u"IntArray"), &result, nullptr, 0));
    EXPECT_EQ(component->LastErrorDescription(), u"Function IntArray - Неподдерживаемый тип массива.");
    EXPECT_EQ(result.vt, VTYPE_EMPTY);
    EXPECT_FALSE(component->CallAsFunc(Method(u"NoHandler"), &result, nullptr, 0));
    EXPECT_EQ(component->LastErrorDescription(),
              u"Function NoHandler - mt_Call: Method (Mt.Mt) is not assigned! (lib/cf/AddInLib2000, line 1733)");
    EXPECT_EQ(connection.Errors().size(), 3u);
}

TEST_F(FrameCalls, ABooleanByteOtherThanZeroOrOneReadsAsTrue) {
    tVariant odd = BoolValue(false);
    const unsigned char two = 2;
    std::memcpy(&odd.bVal, &two, 1);
    tVariant result = Echo(odd);
    EXPECT_EQ(result.vt, VTYPE_BOOL);
    unsigned char byte = 0xFF;
    std::memcpy(&byte, &result.bVal, 1);
    EXPECT_EQ(byte, 1);
}

TEST_F(FrameCalls, TooFewParametersAreRefusedInRussianNamingTheMethod) {
    HostParams one(memory, {IntValue(1)});
    tVariant result = EmptyValue();
    EXPECT_FALSE(component->CallAsFunc(Method(u"Add"), &result, one.data(), one.count()));
    EXPECT_EQ(component->LastErrorDescription(),
              u"Function Add - Недостаточно параметров метода Add: передано 1, ожидается 2");
    EXPECT_FALSE(component->CallAsProc(Method(u"Echo"), nullptr, 0));
    EXPECT_EQ(connection.Errors().back(), (ErrorReport{1006, u"Вернуть", u"Недостаточно параметров метода Echo: передано 0, ожидается 1", 1}));
    // A null array with a count is no parameters at all.
    EXPECT_FALSE(component->CallAsFunc(Method(u"Echo"), &result, nullptr, 3));
    EXPECT_EQ(component->LastErrorDescription(),
              u"Function Echo - Недостаточно параметров метода Echo: передано 0, ожидается 1");
}

TEST_F(FrameCalls, RuntimeExceptionsReachThePlatformOnlyInRussian) {
    const std::vector<std::pair<std::u16string, std::u16string>> cases{
        {u"RaiseBadAlloc", u"Недостаточно памяти для выполнения операции"},
        {u"RaiseRuntime", u"Внутренняя ошибка драйвера"},
        {u"RaiseOutOfRange", u"Внутренняя ошибка драйвера"},
    };
    for (const auto& [method, message] : cases) {
        tVariant result = EmptyValue();
        EXPECT_FALSE(component->CallAsFunc(Method(method), &result, nullptr, 0));
        EXPECT_EQ(component->LastErrorDescription(), u"Function " + method + u" - " + message);
        EXPECT_EQ(connection.Errors().back(), (ErrorReport{1006, u"", message, 1000}));
        EXPECT_FALSE(component->CallAsProc(Method(method), nullptr, 0));
        EXPECT_EQ(connection.Errors().back().description, message);
    }
}

TEST_F(FrameCalls, InvalidDateParameterIsReportedNotThrown) {
    HostParams params(memory, {TmValue(2024, 2, 30, 0, 0, 0)});
    tVariant result = EmptyValue();
    EXPECT_FALSE(component->CallAsFunc(Method(u"Echo"), &result, params.data(), params.count()));
    ASSERT_EQ(connection.Errors().size(), 1u);
    EXPECT_EQ(connection.Errors()[0].description, u"'2024.2.30 0:0:0,0' is not a valid date and time");
}

TEST_F(FrameCalls, WithoutConnectionFailuresAreQuiet) {
    ComponentClient lonely(TestFrameLibrary(), u"TestComponent", memory, nullptr);
    tVariant result = EmptyValue();
    EXPECT_FALSE(lonely.CallAsFunc(lonely.FindMethod(u"Raise"), &result, nullptr, 0));
    EXPECT_FALSE(lonely.CallAsProc(lonely.FindMethod(u"Raise"), nullptr, 0));
    EXPECT_EQ(lonely.LastErrorDescription(), u"Function Raise - Тестовая ошибка");
    EXPECT_TRUE(connection.Errors().empty());
}
