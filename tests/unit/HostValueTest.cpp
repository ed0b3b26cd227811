#include <gtest/gtest.h>

#include <cstring>

#include "lib/cf/Exception.h"
#include "lib/cf/HostValue.h"
#include "tools/host-emulation/HostValues.h"

using namespace cf;
using namespace host_emulation;

namespace {

std::u16string ErrorOf(const tVariant& value) {
    try {
        HostToVariant(value);
    } catch (const Exception& e) {
        return e.Message();
    }
    return u"(no error)";
}

class ToHost : public ::testing::Test {
protected:
    tVariant Convert(const Variant& value) {
        tVariant target = EmptyValue();
        VariantToHost(memory.Interface(), value, target);
        return target;
    }
    void TearDown() override { EXPECT_TRUE(memory.Errors().empty()); }
    HostMemoryManager memory;
};

}  // namespace

TEST(FromHost, EachSupportedTypeCode) {
    HostMemoryManager memory;
    EXPECT_TRUE(HostToVariant(EmptyValue()).IsEmpty());
    EXPECT_EQ(HostToVariant(IntValue(-7)), Variant(int32_t{-7}));
    EXPECT_EQ(HostToVariant(DoubleValue(1.5)), Variant(1.5));
    EXPECT_EQ(HostToVariant(BoolValue(true)), Variant(true));
    tVariant text = StringValue(memory, u"Весы");
    EXPECT_EQ(HostToVariant(text), Variant(u"Весы"));
    Release(memory, text);
    const Variant date = HostToVariant(TmValue(2024, 1, 31, 23, 59, 59));
    EXPECT_EQ(date.Kind(), VarKind::Date);
    EXPECT_DOUBLE_EQ(date.FloatValue(), 45322.0 + (23 * 3600 + 59 * 60 + 59) / 86400.0);
}

TEST(FromHost, StringIsReadUpToItsZeroWhateverTheLengthSays) {
    HostMemoryManager memory;
    tVariant text = StringValue(memory, u"abc");
    text.wstrLen = 5;
    EXPECT_EQ(HostToVariant(text).StringValue(), u"abc");
    text.pwstrVal[1] = 0;
    text.wstrLen = 3;
    EXPECT_EQ(HostToVariant(text).StringValue(), u"a");
    Release(memory, text);
    tVariant nullText = TypeOnly(VTYPE_PWSTR);
    EXPECT_EQ(HostToVariant(nullText), Variant(u""));
}

TEST(FromHost, UnsupportedTypeCodesAreRefused) {
    for (uint16_t vt : {1, 2, 4, 6, 8, 9, 10, 12, 16, 17, 21, 24, 0x2003, 0xFFFF})
        EXPECT_EQ(ErrorOf(TypeOnly(vt)), u"Неподдерживаемый тип данных") << "vt " << vt;
}

TEST(FromHost, InvalidBrokenDownDateIsAConversionError) {
    EXPECT_EQ(ErrorOf(TmValue(2024, 2, 30, 0, 0, 0)), u"'2024.2.30 0:0:0,0' is not a valid date and time");
}

TEST(FromHost, BlobBecomesByteArrayWithOneTrailingZero) {
    HostMemoryManager memory;
    tVariant blob = BlobValue(memory, {1, 2, 0xFE, 4});
    const Variant bytes = HostToVariant(blob);
    Release(memory, blob);
    ASSERT_TRUE(bytes.IsArray());
    EXPECT_EQ(bytes.UpperBound(), 4);
    EXPECT_EQ(bytes.Bytes(), (std::vector<uint8_t>{1, 2, 0xFE, 4, 0}));
}

TEST_F(ToHost, IntegerBoundaryBetweenFourAndEightBytes) {
    tVariant below = Convert(Variant(int32_t{2147483646}));
    EXPECT_EQ(below.vt, VTYPE_I4);
    EXPECT_EQ(below.intVal, 2147483646);
    tVariant max = Convert(Variant(int32_t{2147483647}));
    EXPECT_EQ(max.vt, VTYPE_I8);
    EXPECT_EQ(max.llVal, 2147483647);
    tVariant min = Convert(Variant(int32_t{-2147483647 - 1}));
    EXPECT_EQ(min.vt, VTYPE_I8);
    EXPECT_EQ(min.llVal, -2147483648LL);
    EXPECT_EQ(Convert(Variant(int32_t{-2147483646})).vt, VTYPE_I4);
    EXPECT_EQ(Convert(Variant(int64_t{5})).vt, VTYPE_I4);
    EXPECT_EQ(Convert(Variant::MakeInteger(VarKind::UInt64, -1)).vt, VTYPE_I8);
}

TEST_F(ToHost, ScalarKinds) {
    tVariant flag = Convert(Variant(true));
    EXPECT_EQ(flag.vt, VTYPE_BOOL);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(&flag)[0], 1);
    EXPECT_EQ(Convert(Variant(false)).bVal, false);
    tVariant number = Convert(Variant(1.5));
    EXPECT_EQ(number.vt, VTYPE_R8);
    EXPECT_EQ(number.dblVal, 1.5);
    tVariant money = Convert(Variant::MakeCurrency(125000));
    EXPECT_EQ(money.vt, VTYPE_R8);
    EXPECT_EQ(money.dblVal, 12.5);
    tVariant date = Convert(Variant::MakeDate(45322.25));
    EXPECT_EQ(date.vt, VTYPE_DATE);
    EXPECT_EQ(date.date, 45322.25);
    EXPECT_EQ(Convert(Variant()).vt, VTYPE_EMPTY);
    EXPECT_EQ(Convert(Variant::MakeNull()).vt, VTYPE_EMPTY);
}

TEST_F(ToHost, StringGoesToAZeroTerminatedHostBlock) {
    tVariant text = Convert(Variant(u"Тест"));
    ASSERT_EQ(text.vt, VTYPE_PWSTR);
    EXPECT_EQ(text.wstrLen, 4u);
    EXPECT_EQ(memory.BlockSize(text.pwstrVal), 5 * sizeof(char16_t));
    EXPECT_EQ(text.pwstrVal[4], 0);
    EXPECT_EQ(StringOf(text), u"Тест");
    Release(memory, text);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(ToHost, PreviousStringOrBlobOfTheTargetIsReleasedFirst) {
    tVariant target = StringValue(memory, u"old");
    VariantToHost(memory.Interface(), Variant(int32_t{3}), target);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
    EXPECT_EQ(target.vt, VTYPE_I4);
    target = BlobValue(memory, {1, 2});
    VariantToHost(memory.Interface(), Variant(u"new"), target);
    EXPECT_EQ(memory.LiveBlocks(), 1u);
    EXPECT_EQ(StringOf(target), u"new");
    Release(memory, target);
}

TEST_F(ToHost, BlobRoundTripGivesBackTheSameBytes) {
    tVariant blob = BlobValue(memory, {9, 8, 7, 6});
    const Variant bytes = HostToVariant(blob);
    VariantToHost(memory.Interface(), bytes, blob);
    EXPECT_EQ(blob.vt, VTYPE_BLOB);
    EXPECT_EQ(BytesOf(blob), (std::vector<uint8_t>{9, 8, 7, 6}));
    EXPECT_EQ(memory.LiveBlocks(), 1u);
    Release(memory, blob);
}

TEST_F(ToHost, ArrayOfOtherThanBytesIsRefusedAndLeavesTargetEmpty) {
    tVariant target = StringValue(memory, u"old");
    const Variant numbers = Variant::MakeArray(VarKind::Int32, {Variant(int32_t{1})});
    try {
        VariantToHost(memory.Interface(), numbers, target);
        FAIL() << "integer array accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Неподдерживаемый тип массива.");
    }
    EXPECT_EQ(target.vt, VTYPE_EMPTY);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
}
