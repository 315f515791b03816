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

CFirmwarePort::CFirmwarePort(const StopSignal& stop, const CommTimeouts& timeouts)
    : stop_(stop), timeouts_(timeouts)
{
}

CFirmwarePort::~CFirmwarePort()
{
    Close();
}

bool CFirmwarePort::Open(const std::string& devicePath)
{
    Close();
    fd_ = OpenSerialLine(devicePath);
    if (fd_ < 0)
        return false;
    if (!SetRaw8N1(fd_, *MapSpeed(kBaud))) {
        Close();
        return false;
    }
    PurgeLine(fd_, true, false);
    return true;
}

void CFirmwarePort::Close()
{
    // After a cancel, output the device stopped reading is dropped:
    // close() would otherwise wait for the driver to drain it (30 s).
    if (fd_ >= 0 && Cancelled())
        PurgeLine(fd_, false, true);
    if (fd_ >= 0)
        CloseSerialLine(fd_);
    fd_ = -1;
}

LineStatus CFirmwarePort::Write(std::span<const std::uint8_t> bytes)
{
    const auto count = static_cast<uint32_t>(bytes.size());
    return StatusOf(WriteWithin(fd_, stop_.Fd(), bytes.data(), count, WriteBudgetMs(timeouts_, count)), count);
}

LineStatus CFirmwarePort::Read(std::span<std::uint8_t> into)
{
    const auto count = static_cast<uint32_t>(into.size());
    return StatusOf(ReadWithin(fd_, stop_.Fd(), into.data(), count, timeouts_), count);
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
