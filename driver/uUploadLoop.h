// An upload's one exchange loop (goods, tare, additional texts): the next
// record's frame is made while the scale answers the one before.
#pragma once

#include <functional>

#include "device/uDevice.h"

namespace driver {

// Takes the next request of an upload.
using TRequestSink = std::function<void(device::TRequest ARequest)>;
// Makes an upload's requests one after another (reading a record, making its
// frame) and hands each to the sink; raises to stop the upload.
using TRequestSource = std::function<void(const TRequestSink& ASend)>;

// Sends the requests of ASource, each as soon as the answer to the one before
// is judged, without waiting for its own. The wire and the log see the same
// bytes and lines in the same order as one exchange after another. Every
// answer is judged, in order, before this returns or passes an error on: a
// refusal stops the upload with its frame's message, nothing after that frame
// is sent, and it outranks an error the source raised meanwhile. Between its
// exchange lines the log file stays kept from other processes' writers, but
// never while the scale is awaited.
void UploadRequests(device::TDevice& ADevice, const TRequestSource& ASource);

}  // namespace driver
