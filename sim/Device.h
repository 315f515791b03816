#pragma once
#include "sim/DeviceIdentity.h"
#include "sim/DeviceSettings.h"
#include "sim/FaultPlan.h"
#include "sim/FirmwareLoader.h"
#include "sim/FrameReader.h"
#include "sim/OutputQueue.h"
#include "sim/SimTime.h"

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace quillon::sim {

// The scanner as the tool meets it on the line: answers reads, writes,
// information and image requests, runs its firmware loader, sends decoded
// barcodes, and misbehaves when a fault is armed.  It knows no file
// descriptors: bytes come in through Receive, answers go to an OutputQueue,
// and time moves only through the instants passed in.
class Device {
public:
    using Log = std::function<void(const std::string&)>;

    // By default the frame that closes a read-back is held back until the
    // tool's burst of read requests has stopped arriving, so that it comes
    // last whatever the order of the requests.
    static constexpr Millis kReadBackEndQuiet{100};
    // A partial frame that sees no more bytes for this long is junk.
    static constexpr Millis kPartialFrameQuiet{200};

    Device(DeviceSettings settings, DeviceIdentity identity, OutputQueue& out, std::string firmwareOut, Log log);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    void Receive(std::span<const std::uint8_t> bytes, SimTime now);
    // Lets what waits on a quiet line happen; call at NextDeadline() or later.
    void Tick(SimTime now);
    std::optional<SimTime> NextDeadline(SimTime now) const;

    // A decoded barcode, sent unframed.
    void SendDecoded(const Bytes& text);
    // Noise on the line, e.g. a loose connector.
    void Flood(std::uint64_t bytes) { out_.AppendNoise(bytes); }
    // The line was cut: partial input and a running firmware transfer are lost.
    void ResetLink();

    FaultPlan& Faults() { return faults_; }
    // How long the line must be quiet before the closing frame of a
    // read-back goes out; 0 answers its request in turn like any other.
    void SetReadBackEndQuiet(Millis quiet) { readBackEndQuiet_ = quiet; }

    // The camera's test picture: grey level of pixel (x, y), row y = 0 on top.
    static std::uint8_t ImagePixel(unsigned x, unsigned y) { return static_cast<std::uint8_t>(x + 2 * y); }

private:
    void Drain();
    void Handle(const FrameReader::Frame& frame);
    void AnswerRead(SettingKey key);
    void AnswerProbe(SettingKey key, const Bytes& answer);
    void AnswerInfo(const Bytes& frame);
    void AnswerImage(const Bytes& frame);
    void ApplyWrite(const Bytes& frame);
    void RunLoaderCommand(const Bytes& frame);
    void StartLoader(FirmwareLoader::Expect expect, Bytes firstBytes);
    void FlushReadBackEnd();
    void Reply(const Bytes& bytes) { faults_.EmitReply(out_, bytes); }
    // The loader's answers, as late as the late-loader fault makes them.
    void LoaderReply(const Bytes& bytes);

    DeviceSettings settings_;
    DeviceIdentity identity_;
    OutputQueue& out_;
    Log log_;
    FaultPlan faults_;
    FrameReader reader_;
    FirmwareLoader loader_;
    SimTime lastInput_{};
    Millis readBackEndQuiet_ = kReadBackEndQuiet;
    bool readBackEndDue_ = false;
};

}  // namespace quillon::sim
