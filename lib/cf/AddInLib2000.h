// The base component: its method and property tables, the platform's
// memory manager and connection, and the operations the platform calls
// through the object header.
#pragma once

#include <cstdint>
#include <string>

#include "lib/cf/HostAbi.h"
#include "lib/cf/MethodTable.h"
#include "lib/cf/PropertyTable.h"
#include "lib/cf/Variant.h"

namespace cf {

inline constexpr char16_t kLastErrorDescriptionRu[] = u"ОписаниеПоследнейОшибки";
inline constexpr char16_t kLastErrorDescription[] = u"LastErrorDescription";

class TCustomNativeComponent {
public:
    TCustomNativeComponent();
    virtual ~TCustomNativeComponent() = default;
    TCustomNativeComponent(const TCustomNativeComponent&) = delete;
    TCustomNativeComponent& operator=(const TCustomNativeComponent&) = delete;

    // Hooks for methods served outside the table (numbers from 30000 up).
    virtual int32_t FindExtMethod(const std::u16string& name);
    virtual int32_t GetExtMethodNParams(int32_t number);
    virtual std::u16string GetExtMethodName(int32_t number, int32_t alias);

    // Run right after construction and right before destruction, when
    // virtual calls reach the most derived class.
    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}

    // The name the platform creates this class by.
    virtual std::u16string NCClassName() const;
    // The library's own file version, "0.0.0.0" when it has none. Defined with
    // the traced component (uExtAddInLib2000.cpp, target wq_traced_frame), so
    // only what links the common services calls it.
    std::u16string GetFileVersion() const;
    virtual void OnInit() {}
    virtual void OnDone() {}
    virtual void pt_Add(std::u16string name1, std::u16string name2, bool isReadonly, Variant value);

    // Operations the platform calls through the object header.
    virtual bool Init(void* connection);
    virtual bool setMemManager(void* memoryManager);
    virtual long GetInfo();
    virtual void Done();
    virtual bool RegisterExtensionAs(WCHAR_T** extensionName);
    virtual long GetNProps();
    virtual long FindProp(const WCHAR_T* name);
    virtual const WCHAR_T* GetPropName(long number, long alias);
    virtual bool GetPropValue(long number, tVariant* value);
    virtual bool SetPropValue(long number, tVariant* value);
    virtual bool IsPropReadable(long number);
    virtual bool IsPropWritable(long number);
    virtual long GetNMethods();
    virtual long FindMethod(const WCHAR_T* name);
    virtual const WCHAR_T* GetMethodName(long number, long alias);
    virtual long GetNParams(long number);
    virtual bool GetParamDefValue(long number, long parameter, tVariant* value);
    virtual bool HasRetVal(long number);
    virtual bool CallAsProc(long number, tVariant* params, long count);
    virtual bool CallAsFunc(long number, tVariant* returnValue, tVariant* params, long count);
    virtual void SetLocale(const WCHAR_T* locale);
    virtual void SetUserInterfaceLanguageCode(const WCHAR_T* code);

    TMethodsList& Methods() { return _mt; }
    TPropertiesList& Properties() { return _pl; }

protected:
    // Stores a value the platform assigns to a writable property (SetPropValue).
    virtual void AssignProperty(const std::u16string& name, const Variant& value);
    // Called around a method run by CallAsFunc; the base does nothing.
    virtual void OnCallEntry(const std::u16string& methodName2, const VarArrayData& args);
    virtual void OnCallExit(const std::u16string& methodName2, const Variant& result, const VarArrayData& args);

    VarArrayData ReadArguments(const tVariant* params, long count) const;
    // Hands back only the arguments the method stored into.
    void WriteArguments(const VarArrayData& args, tVariant* params, long count) const;
    // Sends one error report to the platform when a connection is set.
    void SendError(const std::u16string& source, const std::u16string& message, long status) const;
    // The method's name for an alias, empty when the number is outside the table.
    std::u16string MethodNameOrEmpty(long number, long alias) const;
    WCHAR_T* NewHostString(const std::u16string& text) const;

    TMethodsList _mt;
    TPropertiesList _pl;
    void* MemoryManager = nullptr;
    void* Connection = nullptr;
};

}  // namespace cf
