// The library's error classes. Messages are UTF-16 text, like every string
// the component shows to the platform.
#pragma once

#include <exception>
#include <string>

namespace cf {

class Exception : public std::exception {
public:
    explicit Exception(std::u16string message) : message_(std::move(message)) {}
    const std::u16string& Message() const noexcept { return message_; }
    // For diagnostics only: the message's UTF-8 form is built on demand.
    const char* what() const noexcept override;

private:
    std::u16string message_;
    mutable std::string utf8_;
};

// A value that cannot be converted to the kind asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An internal invariant that does not hold.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

inline constexpr char16_t kOutOfMemoryMessage[] = u"Недостаточно памяти для выполнения операции";
inline constexpr char16_t kInternalErrorMessage[] = u"Внутренняя ошибка драйвера";

// The message of any exception caught at a boundary: the library's own text,
// or a Russian one for the runtime's exceptions (never their what()).
std::u16string MessageOf(const std::exception& e);
// The message of the exception being handled; call only inside a catch block.
std::u16string CurrentExceptionMessage();

}  // namespace cf
