// The component's calls back into the platform, through the exports: what
// reaches the platform, and that every string made for a call is released.
#include "lib/cf/TextUtils.h"
#include "tests/integration/trace/TraceFixture.h"

using namespace host_emulation;

namespace {

class HostServices : public TraceTest {
protected:
    // Calls a control method; its result comes back as a string ("" for
    // non-strings) and no platform memory may stay allocated afterwards.
    std::u16string Service(const std::u16string& name, std::vector<tVariant> values = {}, tVariant* copy = nullptr) {
        std::u16string text;
        {
            HostParams params(memory, std::move(values));
            tVariant result = EmptyValue();
            EXPECT_TRUE(control->CallAsFunc(control->FindMethod(name), &result, params.data(), params.count())) << cf::ToUtf8(name);
            text = StringOf(result);
            if (copy != nullptr) *copy = result;
            Release(memory, result);
            if (outputs != nullptr)
                for (long i = 0; i < params.count(); ++i) outputs->push_back(params[i].vt == VTYPE_PWSTR ? StringOf(params[i]) : cf::IntToStr(params[i].intVal));
        }
        EXPECT_EQ(memory.LiveBlocks(), baseline) << cf::ToUtf8(name);
        return text;
    }
    std::vector<std::string> Operations() const {
        std::vector<std::string> names;
        for (const ConnectionCall& call : connection.Calls()) names.push_back(call.operation);
        return names;
    }
    std::vector<std::u16string>* outputs = nullptr;
};

}  // namespace

TEST_F(HostServices, ExternalEventSetsTheBufferDepthFirst) {
    tVariant answer{};
    Service(u"ExternalEvent", {StringValue(memory, u"Весы"), StringValue(memory, u"Событие"), StringValue(memory, u"данные")},
            &answer);
    EXPECT_EQ(answer.vt, VTYPE_BOOL);
    EXPECT_TRUE(answer.bVal);
    ASSERT_EQ(Operations(), (std::vector<std::string>{"SetEventBufferDepth", "ExternalEvent"}));
    EXPECT_EQ(connection.Calls()[0].number, 100);
    EXPECT_EQ(connection.Calls()[1].texts, (std::vector<std::u16string>{u"Весы", u"Событие", u"данные"}));
}

TEST_F(HostServices, StatusLineProfileBufferAndErrorReport) {
    Service(u"SetStatusLine", {StringValue(memory, u"Выгрузка")});
    Service(u"ResetStatusLine");
    Service(u"RegisterProfileAs", {StringValue(memory, u"Профиль")});
    Service(u"SetEventBufferDepth", {IntValue(7)});
    tVariant depth{};
    Service(u"GetEventBufferDepth", {}, &depth);
    EXPECT_EQ(depth.intVal, 7);
    Service(u"CleanEventBuffer");
    Service(u"AddError", {IntValue(1003), StringValue(memory, u"Источник"), StringValue(memory, u"Описание"), IntValue(9)});
    EXPECT_EQ(Operations(), (std::vector<std::string>{"SetStatusLine", "ResetStatusLine", "RegisterProfileAs",
                                                      "SetEventBufferDepth", "GetEventBufferDepth", "CleanEventBuffer",
                                                      "AddError"}));
    EXPECT_EQ(connection.Calls()[0].texts, std::vector<std::u16string>{u"Выгрузка"});
    EXPECT_EQ(connection.Calls()[2].texts, std::vector<std::u16string>{u"Профиль"});
    ASSERT_EQ(connection.Errors().size(), 1u);
    EXPECT_EQ(connection.Errors()[0].code, 1003);
    EXPECT_EQ(connection.Errors()[0].source, u"Источник");
    EXPECT_EQ(connection.Errors()[0].description, u"Описание");
    EXPECT_EQ(connection.Errors()[0].status, 9);
}

TEST_F(HostServices, ReadAndWriteTheProfile) {
    connection.readValue = StringValue(memory, u"значение");
    connection.readErrorCode = 5;
    connection.readErrorDescription = u"нет ключа";
    std::vector<std::u16string> out;
    outputs = &out;
    Service(u"Read", {StringValue(memory, u"Ключ"), EmptyValue(), EmptyValue(), EmptyValue()});
    EXPECT_EQ(out, (std::vector<std::u16string>{u"Ключ", u"значение", u"5", u"нет ключа"}));
    outputs = nullptr;
    connection.readValue = EmptyValue();

    Service(u"Write", {StringValue(memory, u"Ключ"), StringValue(memory, u"новое")});
    ASSERT_EQ(connection.Calls().size(), 2u);
    EXPECT_EQ(connection.Calls()[1].texts, (std::vector<std::u16string>{u"Ключ", u"новое"}));
    EXPECT_EQ(connection.Calls()[1].number, VTYPE_PWSTR);
}

TEST_F(HostServices, MessageBoxAndPlatformInformation) {
    Service(u"Alert", {StringValue(memory, u"Внимание")});
    connection.confirmAnswer = true;
    tVariant yes{};
    Service(u"Confirm", {StringValue(memory, u"Продолжить?")}, &yes);
    EXPECT_TRUE(yes.bVal);
    connection.confirmAnswer = false;
    tVariant no{};
    Service(u"Confirm", {StringValue(memory, u"Продолжить?")}, &no);
    EXPECT_FALSE(no.bVal);
    EXPECT_EQ(Service(u"PlatformInfo"), u"8.3.24.1548|1C:Enterprise test host|1");
    EXPECT_EQ(Operations(), (std::vector<std::string>{"GetInterface", "Alert", "GetInterface", "Confirm", "GetInterface",
                                                      "Confirm", "GetInterface", "GetPlatformInfo"}));
    EXPECT_EQ(connection.Calls()[1].texts, std::vector<std::u16string>{u"Внимание"});
    EXPECT_EQ(connection.Calls()[3].texts, std::vector<std::u16string>{u"Продолжить?"});
    EXPECT_EQ(connection.Calls()[0].number, 0);
    EXPECT_EQ(connection.Calls()[6].number, 1);
}

TEST_F(HostServices, WithoutTheServicesNothingIsShown) {
    connection.offerServices = false;
    connection.confirmAnswer = true;
    Service(u"Alert", {StringValue(memory, u"Внимание")});
    tVariant answer{};
    Service(u"Confirm", {StringValue(memory, u"?")}, &answer);
    EXPECT_FALSE(answer.bVal);
    EXPECT_EQ(Service(u"PlatformInfo"), u"||-1");
    EXPECT_EQ(Operations(), (std::vector<std::string>{"GetInterface", "GetInterface", "GetInterface"}));
}

TEST_F(HostServices, WithoutAConnectionTheServicesAnswerQuietly) {
    ComponentClient lonely(TestFrameLibrary(), u"SecondTestComponent", memory, nullptr);
    auto call = [&](const std::u16string& name, std::vector<tVariant> values) {
        HostParams params(memory, std::move(values));
        tVariant result = EmptyValue();
        EXPECT_TRUE(lonely.CallAsFunc(lonely.FindMethod(name), &result, params.data(), params.count()));
        tVariant copy = result;
        Release(memory, result);
        return copy;
    };
    EXPECT_TRUE(call(u"ExternalEvent", {StringValue(memory, u"a"), StringValue(memory, u"b"), StringValue(memory, u"c")}).bVal);
    EXPECT_TRUE(call(u"SetStatusLine", {StringValue(memory, u"a")}).bVal);
    EXPECT_TRUE(call(u"RegisterProfileAs", {StringValue(memory, u"a")}).bVal);
    EXPECT_EQ(call(u"GetEventBufferDepth", {}).intVal, 0);
    EXPECT_FALSE(call(u"Confirm", {StringValue(memory, u"?")}).bVal);
    call(u"Alert", {StringValue(memory, u"!")});
    HostParams none(memory, {});
    tVariant info = EmptyValue();
    ASSERT_TRUE(lonely.CallAsFunc(lonely.FindMethod(u"PlatformInfo"), &info, nullptr, 0));
    EXPECT_EQ(StringOf(info), u"||-1");
    Release(memory, info);
    EXPECT_TRUE(connection.Calls().empty());
    EXPECT_EQ(memory.LiveBlocks(), baseline);
}

TEST_F(HostServices, FileVersionIsTheProjectVersion) {
    EXPECT_EQ(cf::ToUtf8(Service(u"FileVersion")), WQ_EXPECTED_VERSION);
}
