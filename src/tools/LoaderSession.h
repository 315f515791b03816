#pragma once
#include "tools/DownloadOutcome.h"
#include "tools/FirmwareFile.h"
#include "tools/LoaderLine.h"

namespace quillon {

struct LoaderOptions {
    bool erase = false;   // erase the device configuration first
    bool repair = false;  // HEX files go to a loader that is already waiting: no handshake
    int settleMs = 500;   // pause after an image's "8" before it counts as done
};

// Hears how far a transfer has come.  Called on the transferring thread.
class IDownloadObserver {
public:
    virtual ~IDownloadObserver() = default;
    // The bar's new position, 0..100, reported only when it changes.
    virtual void OnProgress(int percent) = 0;
};

// Talks to the device's loader: erase and handshake as the options and the
// file's kind want, then the HEX records one by one, each answered, or the
// image in blocks with one answer at the end.  Stops at the first record or
// block after the line is cancelled.
DownloadOutcome RunLoader(const FirmwareFile& file, const LoaderOptions& options, ILoaderLine& line,
                          IDownloadObserver& observer);

}  // namespace quillon
