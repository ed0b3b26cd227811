#include "forms/uWinApartment_win.h"

#include <windows.h>
#include <ole2.h>

#include <exception>

#include "common/uSysError.h"
#include "forms/uWinModal_win.h"
#include "lib/cf/Exception.h"

namespace forms::win {

namespace {

struct TApartmentJob {
    const std::function<void()>& Work;
    std::exception_ptr Error;
};

DWORD WINAPI ApartmentThread(LPVOID AJob) {
    auto* job = static_cast<TApartmentJob*>(AJob);
    try {
        RunInSingleThreadedApartment(job->Work);
    } catch (...) {
        job->Error = std::current_exception();
    }
    return 0;
}

void RunOnOwnThread(const std::function<void()>& AWork) {
    TApartmentJob job{AWork, nullptr};
    const HANDLE thread = CreateThread(nullptr, 0, ApartmentThread, &job, 0, nullptr);
    if (!thread)
        throw cf::Exception(u"Не удалось запустить поток окна: " +
                            common::SysErrorMessage(static_cast<int>(GetLastError())));
    WaitModal(thread);
    CloseHandle(thread);
    if (job.Error) std::rethrow_exception(job.Error);
}

class TOleScope {
public:
    TOleScope() = default;
    ~TOleScope() { OleUninitialize(); }
    TOleScope(const TOleScope&) = delete;
    TOleScope& operator=(const TOleScope&) = delete;
};

}  // namespace

void RunInSingleThreadedApartment(const std::function<void()>& AWork) {
    const HRESULT result = OleInitialize(nullptr);
    if (result == RPC_E_CHANGED_MODE) return RunOnOwnThread(AWork);
    if (FAILED(result))
        throw cf::Exception(u"Не удалось подготовить OLE: " + common::SysErrorMessage(static_cast<int>(result)));
    TOleScope scope;
    AWork();
}

}  // namespace forms::win
