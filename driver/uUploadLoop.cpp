#include "driver/uUploadLoop.h"

#include <optional>

#include "common/Common.Log.h"

namespace driver {

namespace {

class TUpload {
public:
    explicit TUpload(device::TDevice& ADevice) : FDevice(ADevice) {}

    // Only the previous answer's judgement stands between two frames; the
    // lines of both are written once the next frame is on its way.
    void Send(device::TRequest ARequest) {
        const bool answered = AwaitInFlight();
        const auto writeLines = [&] {
            if (answered) FDevice.LogAnswer();
            FDevice.LogRequest();
        };
        try {
            FDevice.SendRequest(std::move(ARequest.Frame));
        } catch (...) {
            writeLines();
            throw;
        }
        writeLines();
        FInFlight = ARequest.Check;
    }

    void Finish() {
        if (AwaitInFlight()) FDevice.LogAnswer();
    }

private:
    // Whether a frame was in flight; its answer judged (a refusal raises).
    // Other processes' log writers are let in first: none may wait on the scale.
    bool AwaitInFlight() {
        if (!FInFlight) return false;
        const device::TAnswerCheck check = *FInFlight;
        FInFlight.reset();
        common::LetOtherLogWritersIn();
        FDevice.AwaitAnswer(check);
        return true;
    }

    device::TDevice& FDevice;
    std::optional<device::TAnswerCheck> FInFlight;
};

}  // namespace

void UploadRequests(device::TDevice& ADevice, const TRequestSource& ASource) {
    const common::TLogHold hold;  // the exchange lines of all records
    TUpload upload(ADevice);
    try {
        ASource([&upload](device::TRequest ARequest) { upload.Send(std::move(ARequest)); });
    } catch (...) {
        // The frame in flight was sent before the error arose: its answer
        // comes first, and a refusal there is the one reported.
        upload.Finish();
        throw;
    }
    upload.Finish();
}

}  // namespace driver
