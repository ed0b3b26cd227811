#include "lib/cf/Exception.h"

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

std::u16string MessageOf(const std::exception& e) {
    if (auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
    return FromUtf8(e.what());
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
