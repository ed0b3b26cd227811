// The platform's standard equipment methods through the exports.
#include "tests/integration/driver/DriverFixture.h"

#include <set>

#include "lib/cf/TextUtils.h"

using namespace driver_tests;
using namespace host_emulation;

namespace {

std::size_t PositionOf(const std::u16string& text, const std::u16string& part) {
    const std::size_t at = text.find(part);
    EXPECT_NE(at, std::u16string::npos) << cf::ToUtf8(part);
    return at;
}

}  // namespace

TEST(DriverLibraryExports, OneClassAndItsExactName) {
    EXPECT_EQ(DriverLibrary().GetClassNames(), u"w_quorlan7t4p");
    void* object = nullptr;
    EXPECT_EQ(DriverLibrary().GetClassObject(u"W_QUORLAN7T4P", &object), 0);
    EXPECT_EQ(object, nullptr);
}

TEST_F(DriverTest, MethodsByBothNamesInAnyLetterCase) {
    const long revision = driver->FindMethod(u"GetInterfaceRevision");
    EXPECT_EQ(revision, 0);
    EXPECT_EQ(driver->FindMethod(u"getinterfacerevision"), revision);
    EXPECT_EQ(driver->FindMethod(u"ПОЛУЧИТЬРЕВИЗИЮИНТЕРФЕЙСА"), revision);
    EXPECT_EQ(driver->FindMethod(u"выгрузитьтовары"), 10);
    EXPECT_EQ(driver->FindMethod(u"UPLOADTARE"), 15);
    EXPECT_EQ(driver->GetNParams(driver->FindMethod(u"UploadGoods")), 3);
    EXPECT_EQ(driver->GetNParams(driver->FindMethod(u"ВыгрузитьТару")), 2);
    EXPECT_EQ(driver->GetMethodName(13, 0), u"ВыгрузитьНаименованиеОрганизации");
    EXPECT_EQ(driver->GetMethodName(13, 1), u"UploadCompany");
    const CallResult result = Call(u"GetInterfaceRevision");
    EXPECT_EQ(result.number, 3002);
}

TEST_F(DriverTest, DescriptionAttributesInOrder) {
    const CallResult result = Call(u"ПолучитьОписание");
    ASSERT_TRUE(result.value);
    const std::u16string& xml = result.texts.at(0);
    EXPECT_EQ(xml.rfind(u"<?xml version=\"1.0\"?>\r\n<DriverDescription ", 0), 0u);
    EXPECT_EQ(xml.substr(xml.size() - 2), u"\r\n");
    std::size_t last = 0;
    for (const char16_t* attribute :
         {u"Name=\"w_quorlan7t4p\"", u"Description=\"Драйвер весов Mettler Toledo Tiger 1С:Совместимо NativeAPI\"",
          u"EquipmentType=\"ВесыСПечатьюЭтикеток\"",
          u"IntegrationComponent=\"false\"", u"MainDriverInstalled=\"false\"", u"DriverVersion=\"",
          u"IntegrationComponentVersion=\"", u"DownloadURL=\"", u"LogIsEnabled=\"false\"", u"LogPath=\""}) {
        const std::size_t at = PositionOf(xml, attribute);
        EXPECT_GT(at, last) << cf::ToUtf8(attribute);
        last = at;
    }
    EXPECT_NE(xml.find(u"LogPath=\"" + LogFolder().Path() + u"\""), std::u16string::npos);
}

TEST_F(DriverTest, ParametersAndActionsDocuments) {
    const CallResult parameters = Call(u"GetParameters");
    ASSERT_TRUE(parameters.value);
    const std::u16string& settings = parameters.texts.at(0);
    EXPECT_EQ(settings.rfind(u"<?xml version=\"1.0\"?>\r\n<Settings>\r\n", 0), 0u);
    std::size_t last = 0;
    for (const char16_t* part :
         {u"<Page Caption=\"Параметры подключения\">", u"<Group Caption=\"LAN\">",
          u"<Parameter Name=\"IPAddress\" Caption=\"IP-адрес\" TypeValue=\"String\" DefaultValue=\"\" />",
          u"<Parameter Name=\"IPPort\" Caption=\"IP-порт\" TypeValue=\"Number\" DefaultValue=\"\" />",
          u"<Page Caption=\"Основные параметры\">", u"<Group Caption=\"Основные\">",
          u"<Parameter Name=\"FirmwareType\" Caption=\"Тип прошивки\" TypeValue=\"Number\" DefaultValue=\"1\">",
          u"<Item Value=\"0\">Однострочная</Item>", u"<Item Value=\"1\">Двухстрочная</Item>",
          u"<Parameter Name=\"LogEnabled\" Caption=\"Вести лог\" TypeValue=\"Boolean\" DefaultValue=\"true\" />",
          u"<Parameter Name=\"ExtLogEnabled\" Caption=\"Расширить лог командами протокола обмена\" "
          u"TypeValue=\"Boolean\" DefaultValue=\"false\" />"}) {
        const std::size_t at = PositionOf(settings, part);
        EXPECT_GT(at, last) << cf::ToUtf8(part);
        last = at;
    }
    const CallResult actions = Call(u"GetAdditionalActions");
    ASSERT_TRUE(actions.value);
    EXPECT_EQ(actions.texts.at(0),
              u"<?xml version=\"1.0\"?>\r\n<Actions>\r\n\t<Action Name=\"ViewLog\" Caption=\"Просмотр лога\" />\r\n"
              u"\t<Action Name=\"ShowAdvSettings\" Caption=\"Дополнительные настройки\" />\r\n</Actions>\r\n");
}

TEST_F(DriverTest, SetParameterRefusesReadOnlyAndAcceptsNewNames) {
    EXPECT_FALSE(SetParameter(u"LastErrorDescription", Text(u"x")));
    EXPECT_EQ(LastError(), std::make_pair(1001, std::u16string(u"Свойство \"LastErrorDescription\" запрещено к изменению.")));
    EXPECT_TRUE(SetParameter(u"EquipmentType", Text(u"ВесыСПечатьюЭтикеток")));
    EXPECT_TRUE(SetParameter(u"ID", Text(u"42")));
    EXPECT_TRUE(SetParameter(u"equipmenttype", DoubleValue(1)));
    EXPECT_FALSE(SetParameter(u"", Text(u"x")));
    // The lower-case name reaches the setting: Open connects on that port.
    StartSimulator();
    EXPECT_TRUE(SetParameter(u"ipaddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(SetParameter(u"ipport", DoubleValue(port)));
    EXPECT_TRUE(CallBool(u"Open"));
}

// The platform's property assignment (Весы.IPPort = 4001) is SetParameter by number.
TEST_F(DriverTest, SettingsWrittenAsPropertiesAreStoredAndUsed) {
    StartSimulator();
    const auto set = [this](const std::u16string& name, tVariant value) {
        const long number = driver->FindProp(name);
        EXPECT_TRUE(driver->IsPropWritable(number)) << cf::ToUtf8(name);
        const bool stored = driver->SetPropValue(number, value);
        Release(memory, value);
        return stored;
    };
    EXPECT_TRUE(set(u"IPAddress", Text(u"127.0.0.1")));
    EXPECT_TRUE(set(u"IPПорт", DoubleValue(port)));
    EXPECT_TRUE(set(u"FirmwareType", DoubleValue(0)));
    EXPECT_TRUE(set(u"ЛогВключен", BoolValue(true)));
    EXPECT_TRUE(set(u"ExtLogEnabled", Text(u"true")));
    tVariant value = EmptyValue();
    ASSERT_TRUE(driver->GetPropValue(driver->FindProp(u"IPPort"), value));
    EXPECT_EQ(value.vt, VTYPE_R8);
    EXPECT_EQ(value.dblVal, port);
    Release(memory, value);
    ASSERT_TRUE(driver->GetPropValue(driver->FindProp(u"ExtLogEnabled"), value));
    EXPECT_EQ(StringOf(value), u"true");
    Release(memory, value);
    // Open takes the new port, firmware type (the frame carries the one-line
    // mark) and log switch, as after SetParameter.
    ASSERT_TRUE(CallBool(u"Open"));
    EXPECT_TRUE(CallBool(u"DeleteGood", {IntValue(5)}));
    ASSERT_EQ(ReceivedFrames().size(), 1u);
    EXPECT_EQ(ReceivedFrames().at(0)[14], '\x02');
    EXPECT_NE(Call(u"GetDescription").texts.at(0).find(u"LogIsEnabled=\"true\""), std::u16string::npos);
    EXPECT_TRUE(set(u"LogEnabled", BoolValue(false)));
    EXPECT_TRUE(CallBool(u"Open"));  // logging off again for the tests that follow
    EXPECT_NE(Call(u"GetDescription").texts.at(0).find(u"LogIsEnabled=\"false\""), std::u16string::npos);
}

TEST_F(DriverTest, LastErrorDescriptionIsNotWritableAsAProperty) {
    const long number = driver->FindProp(u"LastErrorDescription");
    EXPECT_FALSE(driver->IsPropWritable(number));
    tVariant text = Text(u"x");
    EXPECT_FALSE(driver->SetPropValue(number, text));
    Release(memory, text);
    EXPECT_EQ(driver->LastErrorDescription(), u"");
    // A refusal of the frame is no failure of a driver method.
    EXPECT_EQ(LastError(), std::make_pair(0, std::u16string()));
}

TEST_F(DriverTest, LastErrorSurvivesLaterSuccess) {
    EXPECT_EQ(LastError(), std::make_pair(0, std::u16string()));
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"Nothing")}));
    EXPECT_EQ(LastError(), std::make_pair(1001, std::u16string(u"Action not found")));
    EXPECT_TRUE(CallBool(u"GetDescription"));
    EXPECT_EQ(LastError(), std::make_pair(1001, std::u16string(u"Action not found")));
    EXPECT_EQ(driver->LastErrorDescription(), u"");
}

TEST_F(DriverTest, AdditionalActionsByName) {
    for (const char16_t* frameOperation : {u"Done", u"CallAsFunc", u"GetInterfaceRevision"}) {
        EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(frameOperation)}));
        EXPECT_EQ(LastError().second, u"Action not found");
    }
    // Known actions are found in any ASCII letter case. The settings need an
    // open driver; the windows themselves are tested in tests/ui.
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"SHOWADVSETTINGS")}));
    EXPECT_EQ(LastError().second, u"Устройство не включено");
    EXPECT_FALSE(CallBool(u"DoAdditionalAction", {Text(u"ShowHelp")}));
    EXPECT_NE(LastError().second, u"Action not found");
}

TEST_F(DriverTest, EveryPublishedActionIsOneTheDriverRuns) {
    // Each has its window: tests/ui opens every one through the Windows DLLs,
    // and WindowActionsTest_posix.cpp checks the Linux library's answer.
    const std::set<std::u16string> windows{u"ViewLog", u"ShowAdvSettings"};
    const std::u16string document = Call(u"GetAdditionalActions").texts.at(0);
    std::set<std::u16string> published;
    const std::u16string key = u"Name=\"";
    for (std::size_t at = document.find(key); at != std::u16string::npos; at = document.find(key, at + 1)) {
        const std::size_t start = at + key.size();
        published.insert(document.substr(start, document.find(u'"', start) - start));
    }
    EXPECT_EQ(published, windows);
}
