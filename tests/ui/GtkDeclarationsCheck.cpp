// The library's own declarations of GTK (forms/uGtkDeclarations_gtk.h) held
// against GTK's headers, at compile time: each function of the table with
// GTK's very type, the structures the views hold with GTK's size, alignment
// and fields, the enums with GTK's underlying types and values. GTK's headers
// come first: a macro of ours that is not GLib's to the letter is then a
// redefinition, which the warnings turn into an error. The view headers come
// along, to show that they live beside GTK's in one translation unit.
#include <gtk/gtk.h>

#include <cstddef>
#include <type_traits>

#include "forms/uAdvSettingsPages_gtk.h"
#include "forms/uGtkWebKit_gtk.h"
#include "forms/uGtkWindow_gtk.h"
#include "forms/ufmOpersEditTiger_gtk.h"

namespace {

namespace ours = forms::gtk;

// GTK's type for one of ours: our structures and enums become GTK's, and what
// is built of them (pointers, const, function types) is built of GTK's.
template <typename T>
struct Real {
    using type = T;
};
template <typename T>
using RealT = typename Real<T>::type;
template <typename T>
struct Real<T*> {
    using type = RealT<T>*;
};
template <typename T>
struct Real<const T> {
    using type = const RealT<T>;
};
template <typename R, typename... A>
struct Real<R(A...)> {
    using type = RealT<R>(RealT<A>...);
};
template <typename R, typename... A>
struct Real<R(A..., ...)> {
    using type = RealT<R>(RealT<A>..., ...);
};

#define WQ_REAL(name)            \
    template <>                  \
    struct Real<ours::name> {    \
        using type = ::name;     \
    };
WQ_GTK_OPAQUE_TYPES(WQ_REAL)
WQ_GTK_VALUE_TYPES(WQ_REAL)
WQ_GTK_ENUM_TYPES(WQ_REAL)
#undef WQ_REAL

// GLib's printf-like and null-terminated functions carry check attributes in
// their types, which a template argument drops: they are no part of the ABI.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-attributes"
#define WQ_SAME_FUNCTION(name) \
    static_assert(std::is_same_v<RealT<decltype(ours::prototypes::name)>, decltype(::name)>, #name);
WQ_GTK_FUNCTIONS(WQ_SAME_FUNCTION)
#undef WQ_SAME_FUNCTION
#pragma GCC diagnostic pop

#define WQ_SAME_LAYOUT(name) \
    static_assert(sizeof(ours::name) == sizeof(::name) && alignof(ours::name) == alignof(::name), #name);
WQ_GTK_VALUE_TYPES(WQ_SAME_LAYOUT)
WQ_GTK_ENUM_TYPES(WQ_SAME_LAYOUT)
#undef WQ_SAME_LAYOUT

#define WQ_SAME_UNDERLYING(name) \
    static_assert(std::is_same_v<std::underlying_type_t<ours::name>, std::underlying_type_t<::name>>, #name);
WQ_GTK_ENUM_TYPES(WQ_SAME_UNDERLYING)
#undef WQ_SAME_UNDERLYING

#define WQ_SAME_CONSTANT(name)                                                      \
    static_assert(std::is_same_v<RealT<decltype(ours::name)>, decltype(::name)> && \
                      static_cast<long long>(ours::name) == static_cast<long long>(::name), #name);
WQ_GTK_ENUM_CONSTANTS(WQ_SAME_CONSTANT)
#undef WQ_SAME_CONSTANT

// The fields the views read.
#define WQ_SAME_FIELD(type, field)                                                                      \
    static_assert(offsetof(ours::type, field) == offsetof(::type, field) &&                             \
                      std::is_same_v<RealT<decltype(ours::type::field)>, decltype(::type::field)>, \
                  #type "::" #field);
WQ_SAME_FIELD(GList, data)
WQ_SAME_FIELD(GList, next)
WQ_SAME_FIELD(GList, prev)
WQ_SAME_FIELD(GError, domain)
WQ_SAME_FIELD(GError, code)
WQ_SAME_FIELD(GError, message)
#undef WQ_SAME_FIELD

}  // namespace
