#include "lib/cf/Exception.h"

#include <new>
#include <stdexcept>

#include "lib/cf/TextUtils.h"

namespace cf {

const char* Exception::what() const noexcept {
    try {
        if (utf8_.empty()) utf8_ = ToUtf8(message_);
        return utf8_.c_str();
    } catch (...) {
        return "cf::Exception";
    }
}

// The runtime's own texts are English and name its internals: the user gets
// a Russian message instead, whatever the runtime raised.
std::u16string MessageOf(const std::exception& e) {
    if (auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr || dynamic_cast<const std::length_error*>(&e) != nullptr)
        return kOutOfMemoryMessage;
    return kInternalErrorMessage;
}

std::u16string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return MessageOf(e);
    } catch (...) {
        return u"Неизвестная ошибка";
    }
}

}  // namespace cf
