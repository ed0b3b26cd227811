#include "lib/cf/ClassRegistry.h"

#include "lib/cf/AddInLib2000.h"

namespace cf {

namespace {
std::vector<TNativeComponentClass>& Registry() {
    static std::vector<TNativeComponentClass> registry;
    return registry;
}
}  // namespace

void RegisterComponentClass(TNativeComponentClass componentClass) { Registry().push_back(std::move(componentClass)); }

const std::vector<TNativeComponentClass>& ComponentClasses() { return Registry(); }

void ClearComponentClasses() { Registry().clear(); }

std::u16string JoinedClassNames() {
    std::u16string names;
    for (std::size_t i = 0; i < Registry().size(); ++i) {
        if (i > 0) names += u'|';
        names += Registry()[i].Name;
    }
    return names;
}

}  // namespace cf
