#include "common/Common.LogAppend.h"

#include <chrono>
#include <thread>

#include "common/uSysError.h"
#include "lib/cf/Exception.h"

namespace common {

namespace {
constexpr auto kLockedRetryTime = std::chrono::milliseconds(200);
constexpr auto kLockedRetryStep = std::chrono::milliseconds(2);
}  // namespace

std::u16string FileErrorMessage(const std::u16string& fileName, int code) {
    return u"Ошибка записи в файл журнала \"" + fileName + u"\": " + SysErrorMessage(code);
}

std::u16string NotARegularFileMessage(const std::u16string& fileName) {
    return u"Ошибка записи в файл журнала \"" + fileName +
           u"\": под этим именем находится не обычный файл (ссылка, папка или устройство)";
}

TAppendResult TLogFile::TryAppend(const std::u16string& fileName, std::string_view bytes, bool keepDenying) {
    if (!Denies(fileName)) {
        LetOthersIn();
        if (!Deny(fileName)) return TAppendResult::Locked;
    }
    try {
        Write(bytes, fileName);
    } catch (...) {
        LetOthersIn();
        throw;
    }
    if (!keepDenying) LetOthersIn();
    return TAppendResult::Done;
}

void AppendDenyingWriters(TLogFile& file, const std::u16string& fileName, std::string_view bytes, bool keepDenying) {
    const auto deadline = std::chrono::steady_clock::now() + kLockedRetryTime;
    while (file.TryAppend(fileName, bytes, keepDenying) == TAppendResult::Locked) {
        if (std::chrono::steady_clock::now() >= deadline)
            throw cf::Exception(u"Не удалось открыть файл журнала \"" + fileName +
                                u"\": файл занят другим процессом");
        std::this_thread::sleep_for(kLockedRetryStep);
    }
}

}  // namespace common
