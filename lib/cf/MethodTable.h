// The component's methods: two names each, a parameter count and a handler.
// A method's number is its position in registration order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lib/cf/Variant.h"

namespace cf {

// Receives the argument list (changeable in place) and fills the result.
using TObjectMethod = std::function<void(VarArrayData& args, Variant& result)>;

struct TMethod {
    std::u16string MethodName1;
    std::u16string MethodName2;
    int32_t ParamsCount = 0;
    TObjectMethod Mt;
};

// The platform's number of the first method served outside the table: hook
// number n is platform number kExtMethodBase + n.
inline constexpr int32_t kExtMethodBase = 30000;

// Raises "Индекс за границами массива [n]".
[[noreturn]] void RaiseIndexError(int64_t index);

class TMethodsList {
public:
    // Hook for methods served outside the table; answers -1 when none matches.
    using ExtFinder = std::function<int32_t(const std::u16string&)>;

    void Add(std::u16string name1, std::u16string name2, int32_t paramsCount, TObjectMethod handler);
    int32_t Find(const std::u16string& name, const ExtFinder& findExt = {}) const;
    // Numbers come from the platform as its machine word: never cut to 32 bits.
    const TMethod& Get(int64_t number) const;
    bool Contains(int64_t number) const { return number >= 0 && number < Count(); }
    int32_t Count() const { return static_cast<int32_t>(methods_.size()); }
    void Clear() { methods_.clear(); }
    // Refuses fewer arguments than the method declares, naming the method.
    void Call(int64_t number, VarArrayData& args, Variant& result) const;

private:
    int32_t FindInTable(const std::u16string& name) const;
    std::vector<TMethod> methods_;
};

}  // namespace cf
