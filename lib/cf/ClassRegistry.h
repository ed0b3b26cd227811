// The component classes the library offers, in registration order. Filled
// once while the library loads, read-only afterwards, emptied at unload.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lib/cf/AddInLib2000.h"

namespace cf {

struct TNativeComponentClass {
    std::u16string Name;
    std::function<std::unique_ptr<TCustomNativeComponent>()> Create;
};

void RegisterComponentClass(TNativeComponentClass componentClass);
const std::vector<TNativeComponentClass>& ComponentClasses();
void ClearComponentClasses();

// The names joined by "|", in registration order.
std::u16string JoinedClassNames();

// T names itself with a static StaticClassName(), the same text its NCClassName() answers.
template <typename T>
void RegisterComponentClass() {
    RegisterComponentClass(TNativeComponentClass{T::StaticClassName(), [] {
        std::unique_ptr<TCustomNativeComponent> component = std::make_unique<T>();
        component->AfterConstruction();
        return component;
    }});
}

}  // namespace cf
