#include "sim/Device.h"

#include <algorithm>
#include <cstdio>

namespace quillon::sim {

namespace {

const Bytes kWriteAccepted{kWriteReply, 0x76, 0x42, 0x00};
const Bytes kWriteRefused{kWriteReply, 0x76, 0x42, 0x01};
const Bytes kLinkIsHid{kLinkReply, 0x42, 0x40, 0x01};
const Bytes kLinkIsHidPos{kLinkReply, 0x42, 0x40, 0x03};
const Bytes kBaudChanged{kLinkReply, 0x41, 0x41, 0x00};

// Settings whose change the device acts on at once.  A new line speed or a
// USB link mode takes the serial link away, which the device reports instead
// of the plain acceptance; a factory reset puts every value back.
constexpr SettingKey kBaudRateKey = 0x4141;
constexpr SettingKey kLinkModeKey = 0x4240;
constexpr std::uint8_t kLinkHid = 0x01;
constexpr std::uint8_t kLinkHidPos = 0x03;
constexpr SettingKey kFactoryResetKey = 0xD001;

constexpr std::uint8_t kHandshake = 0x03;
constexpr std::uint8_t kEraseConfiguration = 0x02;
constexpr std::uint8_t kInfoGroup = 0x02;

std::string Hex(const Bytes& bytes)
{
    std::string text;
    char pair[3];
    for (const auto b : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", b);
        text += pair;
    }
    return text;
}

}  // namespace

Device::Device(DeviceSettings settings, DeviceIdentity identity, OutputQueue& out, std::string firmwareOut, Log log)
    : settings_(std::move(settings)),
      identity_(std::move(identity)),
      out_(out),
      log_(std::move(log)),
      reader_(settings_),
      loader_(faults_, std::move(firmwareOut),
              FirmwareLoader::Hooks{[this] { settings_.RestoreDefaults(); },
                                    [this](const std::string& line) { log_(line); }})
{
}

void Device::Receive(std::span<const std::uint8_t> bytes, SimTime now)
{
    lastInput_ = now;
    if (loader_.Active()) {
        LoaderReply(loader_.Receive(bytes));
        return;
    }
    reader_.Feed(bytes);
    Drain();
}

void Device::Drain()
{
    while (!loader_.Active()) {
        const auto frame = reader_.Next();
        if (!frame)
            return;
        Handle(*frame);
    }
}

void Device::Handle(const FrameReader::Frame& frame)
{
    if (frame.kind != FrameReader::Kind::Read)
        FlushReadBackEnd();
    switch (frame.kind) {
    case FrameReader::Kind::Read: AnswerRead(KeyAt(frame.bytes, 1)); break;
    case FrameReader::Kind::Info: AnswerInfo(frame.bytes); break;
    case FrameReader::Kind::Image: AnswerImage(frame.bytes); break;
    case FrameReader::Kind::Write: ApplyWrite(frame.bytes); break;
    case FrameReader::Kind::LoaderCommand: RunLoaderCommand(frame.bytes); break;
    case FrameReader::Kind::HexRecord:
        // Records without a handshake: the loader is already waiting (a
        // repair upgrade after a failed one).
        log_("firmware: HEX records without handshake, loader takes them");
        StartLoader(FirmwareLoader::Expect::Hex, frame.bytes);
        break;
    }
}

void Device::AnswerRead(SettingKey key)
{
    const auto* setting = settings_.Find(key);
    if (!setting)
        return;
    const Bytes answer = KeyedFrame(kReadReply, key, setting->value);
    if (settings_.IsProbeKey(key)) {
        AnswerProbe(key, answer);
    } else if (key == DeviceSettings::kReadBackEndKey) {
        if (faults_.Spend(Fault::NoReadBackEnd))
            log_("fault: read-back left without its closing frame");
        else if (readBackEndQuiet_ > Millis::zero())
            readBackEndDue_ = true;
        else
            Reply(answer);
    } else {
        Reply(answer);
    }
}

void Device::AnswerProbe(SettingKey key, const Bytes& answer)
{
    if (faults_.Spend(Fault::SilentProbe)) {
        log_("fault: probe left unanswered");
        return;
    }
    if (faults_.Spend(Fault::WrongProbe)) {
        Reply(KeyedFrame(kReadReply, key ^ 0x0001, Bytes{0x00}));
        out_.AppendPause(FaultPlan::kWrongProbeGap);
        log_("fault: wrong probe answer sent before the right one");
    }
    if (faults_.Spend(Fault::StrayProbe)) {
        // What a port often delivers as it opens, then the answer in two pieces.
        Reply(Bytes{0x00, answer.front()});
        out_.AppendPause(FaultPlan::kStrayProbeGap);
        Reply(Bytes(answer.begin() + 1, answer.end()));
        log_("fault: stray byte sent before the probe answer");
        return;
    }
    Reply(answer);
}

void Device::FlushReadBackEnd()
{
    if (!std::exchange(readBackEndDue_, false))
        return;
    const auto* end = settings_.Find(DeviceSettings::kReadBackEndKey);
    Reply(KeyedFrame(kReadReply, DeviceSettings::kReadBackEndKey, end ? end->value : Bytes{}));
}

void Device::AnswerInfo(const Bytes& frame)
{
    const std::uint8_t field = frame[2];
    if (frame[1] != kInfoGroup || field < DeviceIdentity::kFirstField || field > DeviceIdentity::kLastField)
        return;
    Bytes data;
    if (field == DeviceIdentity::kResolutionField) {
        AppendBigEndian16(data, identity_.width);
        AppendBigEndian16(data, identity_.height);
    } else {
        const std::string& text = identity_.Text(field);
        data.assign(text.begin(), text.end());
    }
    Bytes reply{kInfoReply, kInfoGroup, field};
    AppendBigEndian16(reply, static_cast<unsigned>(data.size()));
    reply.insert(reply.end(), data.begin(), data.end());
    Reply(reply);
}

void Device::AnswerImage(const Bytes& frame)
{
    // The camera cannot deliver more than its sensor holds.
    const unsigned width = std::min<unsigned>(KeyAt(frame, 1), identity_.width);
    const unsigned height = std::min<unsigned>(KeyAt(frame, 3), identity_.height);
    Bytes reply{kImageData};
    AppendBigEndian16(reply, width);
    AppendBigEndian16(reply, height);
    AppendBigEndian16(reply, 0);
    AppendBigEndian32(reply, width * height);
    reply.reserve(reply.size() + std::size_t{width} * height);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            reply.push_back(ImagePixel(x, y));
    Reply(reply);
    log_("image " + std::to_string(width) + "x" + std::to_string(height) + " sent");
}

void Device::ApplyWrite(const Bytes& frame)
{
    for (const auto& [fault, answer] :
         {std::pair{Fault::Hid, &kLinkIsHid}, std::pair{Fault::HidPos, &kLinkIsHidPos},
          std::pair{Fault::BaudChanged, &kBaudChanged}, std::pair{Fault::WriteError, &kWriteRefused}}) {
        if (faults_.Spend(fault)) {
            log_("fault: write " + Hex(frame) + " answered " + Hex(*answer));
            Reply(*answer);
            return;
        }
    }
    const SettingKey key = KeyAt(frame, 1);
    const auto* setting = settings_.Find(key);
    if (!setting || setting->writeClass != frame[0]) {
        log_("write " + Hex(frame) + " refused: no such setting");
        Reply(kWriteRefused);
        return;
    }
    const std::size_t valueAt = FormOfKey(key) == LengthForm::Counted ? 5 : 3;
    const Bytes value(frame.begin() + static_cast<std::ptrdiff_t>(valueAt), frame.end());
    settings_.Store(key, value);
    log_("write " + Hex(frame) + " applied");
    if (key == kFactoryResetKey)
        settings_.RestoreDefaults();
    if (key == kBaudRateKey && value.size() == 1)
        Reply(Bytes{kLinkReply, 0x41, 0x41, value[0]});
    else if (key == kLinkModeKey && value.size() == 1 && (value[0] == kLinkHid || value[0] == kLinkHidPos))
        Reply(Bytes{kLinkReply, 0x42, 0x40, value[0]});
    else
        Reply(kWriteAccepted);
}

void Device::RunLoaderCommand(const Bytes& frame)
{
    if (frame[1] != kLoaderTag)
        return;
    if (frame[2] == kEraseConfiguration) {
        settings_.RestoreDefaults();
        log_("firmware: configuration erased");
        Bytes answer{kWriteReply, kLoaderTag, kEraseConfiguration, 0x00, 0x00};
        if (faults_.Spend(Fault::ShortErase)) {
            log_("fault: erase answered short");
            answer.resize(2);
        }
        LoaderReply(answer);
    } else if (frame[2] == kHandshake) {
        LoaderReply(Bytes{kWriteReply, kLoaderTag, kHandshake, 0x00, 0x00});
        log_("firmware: loader handshake");
        StartLoader(FirmwareLoader::Expect::HexOrRaw, {});
    }
}

void Device::StartLoader(FirmwareLoader::Expect expect, Bytes firstBytes)
{
    loader_.Begin(expect);
    const Bytes rest = reader_.TakePending();
    firstBytes.insert(firstBytes.end(), rest.begin(), rest.end());
    LoaderReply(loader_.Receive(firstBytes));
}

void Device::LoaderReply(const Bytes& bytes)
{
    if (bytes.empty())
        return;
    if (const Millis delay = faults_.LoaderDelay(); delay > Millis::zero())
        out_.AppendPause(delay);
    Reply(bytes);
}

void Device::Tick(SimTime now)
{
    const auto quiet = std::chrono::duration_cast<Millis>(now - lastInput_);
    if (quiet >= readBackEndQuiet_)
        FlushReadBackEnd();
    if (loader_.Active()) {
        LoaderReply(loader_.OnQuiet(quiet));
        return;
    }
    if (quiet < kPartialFrameQuiet)
        return;
    while (reader_.SkipByte())
        Drain();
}

std::optional<SimTime> Device::NextDeadline(SimTime now) const
{
    std::optional<SimTime> deadline;
    const auto consider = [&](SimTime at) {
        if (!deadline || at < *deadline)
            deadline = at;
    };
    if (readBackEndDue_)
        consider(lastInput_ + readBackEndQuiet_);
    if (loader_.Active()) {
        if (const auto step = loader_.NextQuietStep(std::chrono::duration_cast<Millis>(now - lastInput_));
            step != Millis::max())
            consider(lastInput_ + step);
    } else if (reader_.HasPending())
        consider(lastInput_ + kPartialFrameQuiet);
    return deadline;
}

void Device::SendDecoded(const Bytes& text)
{
    faults_.EmitUnsolicited(out_, text);
}

void Device::ResetLink()
{
    reader_.Reset();
    loader_.Abort();
    readBackEndDue_ = false;
}

}  // namespace quillon::sim
