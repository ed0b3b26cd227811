// Plays the platform: loads the library, calls its three exports and drives
// a component only through its interface tables, by raw slot index.
#pragma once

#include <memory>
#include <string>

#include "lib/cf/HostAbi.h"
#include "tools/host-emulation/HostAbiSlots.h"
#include "tools/host-emulation/HostConnection.h"
#include "tools/host-emulation/HostMemoryManager.h"
#include "tools/host-emulation/LibraryLoader.h"

namespace host_emulation {

class AddInLibrary {
public:
    using GetClassNamesFn = const WCHAR_T* (*)();
    using GetClassObjectFn = long (*)(const WCHAR_T*, void**);
    using DestroyObjectFn = long (*)(void**);

    explicit AddInLibrary(const std::string& path);
    // The exports of a library linked into this program (the fuzz targets).
    AddInLibrary(GetClassNamesFn getClassNames, GetClassObjectFn getClassObject, DestroyObjectFn destroyObject);

    std::u16string GetClassNames() const;
    // Answers the export's result; the object is null when it answers 0.
    long GetClassObject(const std::u16string& name, void** object) const;
    long DestroyObject(void** object) const;
    const WCHAR_T* RawClassNames() const;

private:
    std::unique_ptr<LoadedLibrary> library_;
    GetClassNamesFn getClassNames_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    DestroyObjectFn destroyObject_ = nullptr;
};

// One component object, set up as the platform does: GetClassObject, then
// setMemManager and Init. Destroyed with DestroyObject.
class ComponentClient {
public:
    ComponentClient(const AddInLibrary& library, const std::u16string& className, HostMemoryManager& memory,
                    HostConnection* connection);
    ~ComponentClient();
    ComponentClient(const ComponentClient&) = delete;
    ComponentClient& operator=(const ComponentClient&) = delete;

    void* Object() const { return object_; }

    // A C++ host's `delete` through the table's interface pointer instead of
    // DestroyObject; the object is gone afterwards.
    void DeleteThroughTable(int table);
    // An explicit destructor call through the table: it must free nothing.
    void DestroyThroughTable(int table) const;

    template <typename R, typename... Args>
    R Call(Procs entry, Args... args) const {
        const SlotLocation where = Locate(entry);
        return CallTable<R>(where.table, where.slot, args...);
    }

    template <typename R, typename... Args>
    R CallTable(int table, int slot, Args... args) const {
        void* interface = static_cast<void**>(object_) + table;
        void** functions = *static_cast<void***>(interface);
        using Fn = R(ADDIN_API*)(void*, Args...);
        return reinterpret_cast<Fn>(functions[slot])(interface, args...);
    }

    long GetInfo() const { return Call<long>(kGetInfo); }
    void Done() const { Call<void>(kDone); }
    long FindMethod(const std::u16string& name) const { return Call<long>(kFindMethod, name.c_str()); }
    long FindProp(const std::u16string& name) const { return Call<long>(kFindProp, name.c_str()); }
    long GetNMethods() const { return Call<long>(kGetNMethods); }
    long GetNProps() const { return Call<long>(kGetNProps); }
    long GetNParams(long method) const { return Call<long>(kGetNParams, method); }
    bool HasRetVal(long method) const { return Call<bool>(kHasRetVal, method); }
    bool IsPropReadable(long property) const { return Call<bool>(kIsPropReadable, property); }
    bool IsPropWritable(long property) const { return Call<bool>(kIsPropWritable, property); }
    // The names come back in platform memory; these read and free them.
    std::u16string GetMethodName(long method, long alias) const;
    std::u16string GetPropName(long property, long alias) const;
    std::u16string RegisterExtensionAs(bool* answer = nullptr) const;
    bool GetPropValue(long property, tVariant& value) const { return Call<bool>(kGetPropValue, property, &value); }
    bool SetPropValue(long property, tVariant& value) const { return Call<bool>(kSetPropValue, property, &value); }
    bool CallAsProc(long method, tVariant* params, long count) const {
        return Call<bool>(kCallAsProc, method, params, count);
    }
    bool CallAsFunc(long method, tVariant* result, tVariant* params, long count) const {
        return Call<bool>(kCallAsFunc, method, result, params, count);
    }
    // Reads LastErrorDescription through the tables.
    std::u16string LastErrorDescription() const;

private:
    std::u16string TakeHostString(const WCHAR_T* text) const;

    const AddInLibrary& library_;
    HostMemoryManager& memory_;
    void* object_ = nullptr;
};

}  // namespace host_emulation
