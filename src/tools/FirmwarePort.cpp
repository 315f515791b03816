#include "tools/FirmwarePort.h"

#include "serial/SerialLine.h"
#include "serial/SerialSpeed.h"
#include "serial/TimedIo.h"

namespace quillon {

namespace {

LineStatus StatusOf(const TimedIoResult& result, std::size_t wanted)
{
    if (result.stopped)
        return LineStatus::Stopped;
    if (result.lost)
        return LineStatus::Lost;
    return result.count == wanted ? LineStatus::Done : LineStatus::TimedOut;
}

}  // namespace

CommTimeouts LoaderTimeouts()
{
    return {30000, 80, 60000, 1000, 600};
}

CFirmwarePort::CFirmwarePort(const StopSignal& stop, const CommTimeouts& timeouts) : stop_(stop), timeouts_(timeouts)
{
}

CFirmwarePort::~CFirmwarePort()
{
    Close();
}

bool CFirmwarePort::Open(const std::string& devicePath, const std::string& portName)
{
    Close();
    fd_ = OpenSerialLine(devicePath);
    if (fd_ < 0)
        return false;
    if (!SetRaw8N1(fd_, *MapSpeed(kBaud))) {
        CloseSerialLine(fd_);
        fd_ = -1;
        return false;
    }
    PurgeLine(fd_, true, false);
    portName_ = portName.empty() ? devicePath : portName;
    Trace(WireEvent::Opened);
    return true;
}

void CFirmwarePort::Close()
{
    if (fd_ < 0)
        return;
    // After a cancel, output the device stopped reading is dropped:
    // close() would otherwise wait for the driver to drain it (30 s).
    if (Cancelled())
        PurgeLine(fd_, false, true);
    CloseSerialLine(fd_);
    fd_ = -1;
    Trace(WireEvent::Closed);
}

LineStatus CFirmwarePort::Write(std::span<const std::uint8_t> bytes)
{
    const auto count = static_cast<uint32_t>(bytes.size());
    if (fd_ >= 0)
        Trace(WireEvent::Sent, bytes.data(), bytes.size());
    return StatusOf(WriteWithin(fd_, stop_.Fd(), bytes.data(), count, WriteBudgetMs(timeouts_, count)), count);
}

LineStatus CFirmwarePort::Read(std::span<std::uint8_t> into)
{
    const auto count = static_cast<uint32_t>(into.size());
    const TimedIoResult result = ReadWithin(fd_, stop_.Fd(), into.data(), count, timeouts_);
    if (result.count > 0)
        Trace(WireEvent::Received, into.data(), result.count);
    return StatusOf(result, count);
}

void CFirmwarePort::Trace(WireEvent::Kind kind, const std::uint8_t* bytes, std::size_t count) const
{
    // The loader has no reply routes: its traffic is traced without one.
    if (WireTap::Watching())
        WireTap::Report({kind, portName_, static_cast<unsigned>(kBaud), -1, {bytes, count}});
}

void CFirmwarePort::Pause(int ms)
{
    stop_.Sleep(ms);
}

bool CFirmwarePort::Cancelled() const
{
    return stop_.Raised();
}

}  // namespace quillon
