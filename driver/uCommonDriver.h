// The platform's standard equipment interface, implemented once: the ten
// standard methods, the three documents, the open flag and the additional
// actions by name.
#pragma once

#include <functional>
#include <string>

#include "driver/DriverInfo.h"
#include "driver/uCustomDriver.h"

namespace driver {

class TCommonDriver : public TCustomDriver {
public:
    TCommonDriver() = default;

    // Registers methods and settings once the most derived class is complete.
    void AfterConstruction() override;
    // Closes the driver while the most derived class is still complete.
    void BeforeDestruction() override;

    // Logs a second registration of a name instead of raising it.
    void pt_Add(std::u16string name1, std::u16string name2, bool isReadonly, cf::Variant value) override;

    // The process-wide log mode seen as on/off.
    bool GetLogEnabled() const;
    void SetLogEnabled(bool enabled);

    // Raises EquException 70 "Устройство не включено" while the driver is closed.
    void CheckEnabled() const;
    bool Enabled() const { return FEnabled; }

    // Completes the process-wide record for this class; each class has its own.
    static void UpdateDriverInfo(TDriverInfo& info);

    virtual void RegisterMethods();
    virtual void RegisterSettings();
    virtual void Open();
    virtual void Close();
    virtual void DeviceTest(std::u16string& description, std::u16string& demoModeIsActivated);
    virtual std::u16string GetParametersXML();
    virtual std::u16string GetDescriptionXML();
    virtual std::u16string GetActionsXML();
    void DoAction(const std::u16string& name);
    virtual int32_t GetInterfaceRevision() { return 3002; }

protected:
    // Runs the UpdateDriverInfo of the object's own class.
    virtual void UpdateOwnDriverInfo() { UpdateDriverInfo(DriverInfo()); }

    using Action = std::function<void()>;
    // The published action with this name (ASCII letter case ignored), or an empty function.
    virtual Action FindAction(const std::u16string& name);

    // Registers a Boolean method in the handler form: true, or false with the failure reported.
    void AddGuardedMethod(const char16_t* name1, const char16_t* name2, int32_t paramsCount,
                          std::function<void(cf::VarArrayData& args)> work);

    void ViewLog();
    void ShowHelp();

    // Stores a setting, adding a name not yet registered: SetParameter and the
    // platform's property assignment both come here.
    void AssignProperty(const std::u16string& name, const cf::Variant& value) override;

    bool FEnabled = false;

private:
    void SetParameter(const cf::VarArrayData& args);
};

// Fills the process-wide record once at library start, for the class T.
template <typename T>
void GetDriverInfo(const std::u16string& name, const std::u16string& description);

void BeginDriverInfo(const std::u16string& name, const std::u16string& description);

template <typename T>
void GetDriverInfo(const std::u16string& name, const std::u16string& description) {
    BeginDriverInfo(name, description);
    T::UpdateDriverInfo(DriverInfo());
}

}  // namespace driver
