#include "tools/host-emulation/AddInClient.h"

#include <stdexcept>

#include "tools/host-emulation/ComponentDeletion.h"
#include "tools/host-emulation/HostValues.h"

namespace host_emulation {

AddInLibrary::AddInLibrary(const std::string& path) : library_(std::make_unique<LoadedLibrary>(path)) {
    getClassNames_ = reinterpret_cast<GetClassNamesFn>(library_->Symbol("GetClassNames"));
    getClassObject_ = reinterpret_cast<GetClassObjectFn>(library_->Symbol("GetClassObject"));
    destroyObject_ = reinterpret_cast<DestroyObjectFn>(library_->Symbol("DestroyObject"));
    if (!getClassNames_ || !getClassObject_ || !destroyObject_)
        throw std::runtime_error(path + " lacks one of the three exports");
}

AddInLibrary::AddInLibrary(GetClassNamesFn getClassNames, GetClassObjectFn getClassObject,
                           DestroyObjectFn destroyObject)
    : getClassNames_(getClassNames), getClassObject_(getClassObject), destroyObject_(destroyObject) {}

const WCHAR_T* AddInLibrary::RawClassNames() const { return getClassNames_(); }

std::u16string AddInLibrary::GetClassNames() const {
    const WCHAR_T* names = getClassNames_();
    return names ? std::u16string(names) : std::u16string();
}

long AddInLibrary::GetClassObject(const std::u16string& name, void** object) const {
    return getClassObject_(name.c_str(), object);
}

long AddInLibrary::DestroyObject(void** object) const { return destroyObject_(object); }

ComponentClient::ComponentClient(const AddInLibrary& library, const std::u16string& className,
                                 HostMemoryManager& memory, HostConnection* connection)
    : library_(library), memory_(memory) {
    if (library_.GetClassObject(className, &object_) != 1 || object_ == nullptr)
        throw std::runtime_error("GetClassObject refused the class");
    Call<bool>(kSetMemManager, memory_.Interface());
    Call<bool>(kInit, connection ? connection->Interface() : nullptr);
}

ComponentClient::~ComponentClient() {
    if (object_ != nullptr) library_.DestroyObject(&object_);
}

void ComponentClient::DeleteThroughTable(int table) {
    DeleteThroughInterface(static_cast<void**>(object_) + table);
    object_ = nullptr;
}

void ComponentClient::DestroyThroughTable(int table) const {
    DestroyThroughInterface(static_cast<void**>(object_) + table);
}

std::u16string ComponentClient::TakeHostString(const WCHAR_T* text) const {
    if (text == nullptr) return {};
    std::u16string copy(text);
    memory_.Free(const_cast<WCHAR_T*>(text));
    return copy;
}

std::u16string ComponentClient::GetMethodName(long method, long alias) const {
    return TakeHostString(Call<const WCHAR_T*>(kGetMethodName, method, alias));
}

std::u16string ComponentClient::GetPropName(long property, long alias) const {
    return TakeHostString(Call<const WCHAR_T*>(kGetPropName, property, alias));
}

std::u16string ComponentClient::RegisterExtensionAs(bool* answer) const {
    WCHAR_T* name = nullptr;
    const bool result = Call<bool>(kRegisterExtensionAs, &name);
    if (answer) *answer = result;
    return TakeHostString(name);
}

std::u16string ComponentClient::LastErrorDescription() const {
    tVariant value = EmptyValue();
    GetPropValue(FindProp(u"LastErrorDescription"), value);
    std::u16string text = StringOf(value);
    Release(memory_, value);
    return text;
}

}  // namespace host_emulation
