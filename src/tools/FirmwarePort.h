#pragma once
#include <string>

#include "serial/CommTimeouts.h"
#include "serial/WireTap.h"
#include "tools/LoaderLine.h"
#include "tools/StopSignal.h"

namespace quillon {

// The loader's time-outs: a byte may be a minute coming (the device erases
// flash before it answers), a write may take a second per byte.
CommTimeouts LoaderTimeouts();

// The serial port the firmware download opens for itself, apart from the
// window's channel: exclusive, 115200 8-N-1, waits bounded by `timeouts`
// and cut short by `stop`.
class CFirmwarePort : public ILoaderLine {
public:
    static constexpr int kBaud = 115200;

    explicit CFirmwarePort(const StopSignal& stop, const CommTimeouts& timeouts = LoaderTimeouts());
    ~CFirmwarePort() override;
    CFirmwarePort(const CFirmwarePort&) = delete;
    CFirmwarePort& operator=(const CFirmwarePort&) = delete;

    // Opens the device and sets the line; stale input is discarded.  False
    // (port closed) when the device is missing, in use or refuses the line.
    // A wire trace names the port `portName` (the path when empty).
    bool Open(const std::string& devicePath, const std::string& portName = {});
    void Close();

    LineStatus Write(std::span<const std::uint8_t> bytes) override;
    LineStatus Read(std::span<std::uint8_t> into) override;
    void Pause(int ms) override;
    bool Cancelled() const override;

private:
    void Trace(WireEvent::Kind kind, const std::uint8_t* bytes = nullptr, std::size_t count = 0) const;

    const StopSignal& stop_;
    CommTimeouts timeouts_;
    int fd_ = -1;
    std::string portName_;
};

}  // namespace quillon
