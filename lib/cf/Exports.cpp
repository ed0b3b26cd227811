// The three functions the platform finds by name in the library.
#include <cstring>
#include <memory>

#include "lib/cf/ClassRegistry.h"
#include "lib/cf/HostValue.h"
#include "lib/cf/ObjectHeader.h"

namespace {

constexpr std::size_t kClassNamesCapacity = 1024;
WCHAR_T gClassNames[kClassNamesCapacity + 1];

}  // namespace

ADDIN_EXPORT const WCHAR_T* GetClassNames() {
    try {
        std::u16string names = cf::JoinedClassNames();
        if (names.size() > kClassNamesCapacity) names.resize(kClassNamesCapacity);
        std::memset(gClassNames, 0, (names.size() + 1) * sizeof(WCHAR_T));
        std::memcpy(gClassNames, names.data(), names.size() * sizeof(WCHAR_T));
    } catch (...) {
        gClassNames[0] = 0;
    }
    return gClassNames;
}

ADDIN_EXPORT long GetClassObject(const WCHAR_T* name, void** object) {
    try {
        if (object == nullptr) return 0;
        *object = nullptr;
        const std::u16string wanted = cf::ReadHostString(name);
        for (const cf::TNativeComponentClass& componentClass : cf::ComponentClasses()) {
            if (componentClass.Name != wanted) continue;
            std::unique_ptr<cf::TCustomNativeComponent> component = componentClass.Create();
            *object = cf::NewObjectHeader(component.get());
            component.release();
            return 1;
        }
    } catch (...) {
    }
    return 0;
}

ADDIN_EXPORT long DestroyObject(void** object) {
    try {
        if (object == nullptr || *object == nullptr) return 0;
        cf::DestroyObjectHeader(static_cast<cf::TObjectHeader*>(*object));
        *object = nullptr;
    } catch (...) {
    }
    return 0;
}
