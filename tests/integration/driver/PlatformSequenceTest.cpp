// The platform's equipment library drives a scale in this order; it must work.
#include "tests/integration/driver/DriverFixture.h"

using namespace driver_tests;
using namespace host_emulation;

TEST_F(DriverTest, EquipmentLibrarySequence) {
    StartSimulator();
    EXPECT_TRUE(SetParameter(u"EquipmentType", Text(u"ВесыСПечатьюЭтикеток")));
    EXPECT_TRUE(SetParameter(u"IPAddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(SetParameter(u"IPPort", DoubleValue(port)));
    EXPECT_TRUE(SetParameter(u"FirmwareType", DoubleValue(1)));
    EXPECT_TRUE(SetParameter(u"LogEnabled", BoolValue(false)));
    EXPECT_TRUE(SetParameter(u"ExtLogEnabled", BoolValue(false)));
    EXPECT_TRUE(Call(u"DeviceTest").value);
    ASSERT_TRUE(CallBool(u"Open"));
    const char16_t* stages[] = {u"first", u"regular", u"last"};
    for (int batch = 0; batch < 3; ++batch) {
        EXPECT_TRUE(CallBool(u"UploadGoods", {EmptyValue(), Text(GoodsDocument(1 + batch * 100, 100)), Text(stages[batch])}))
            << batch;
    }
    const tiger_sim::TScaleState state = sim->State();
    EXPECT_EQ(state.Plu.size(), 300u);
    EXPECT_EQ(state.Plu.at(300).PriceHundredths, 1050u);
    EXPECT_TRUE(CallBool(u"Close"));
    EXPECT_EQ(LastError(), std::make_pair(0, std::u16string()));
}
