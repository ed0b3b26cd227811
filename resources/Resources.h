// The library's own resources: string resources by number and data
// resources ("Parameters", "Actions", "help") by name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace resources {

inline constexpr uint32_t kHelpCaption = 65064;
inline constexpr uint32_t kDriverDescription = 65065;
inline constexpr uint32_t kDeviceNotEnabled = 65289;

// Raises cf::Exception when the library has no such resource.
std::u16string LoadStringResource(uint32_t id);
std::string LoadDataResource(std::u16string_view name);
// Nothing when the library has no data resource of that name.
std::optional<std::string> FindDataResource(std::u16string_view name);

}  // namespace resources
