#include "sim/FaultPlan.h"

#include <algorithm>
#include <charconv>

namespace quillon::sim {

namespace {

struct FaultName {
    Fault fault;
    const char* name;
    const char* meaning;
};

constexpr FaultName kFaultNames[] = {
    {Fault::Bursts, "bursts", "[SIZE[,PAUSE_MS]] cut every reply into SIZE-byte bursts (default 4,50)"},
    {Fault::Garbage, "garbage", "[COUNT] put COUNT junk bytes before every reply (default 3)"},
    {Fault::SilentProbe, "silent-probe", "give no answer to the next connect probe"},
    {Fault::WrongProbe, "wrong-probe", "answer the next probe wrongly, then rightly 300 ms later"},
    {Fault::StrayProbe, "stray-probe",
     "send a stray byte and the next probe's first answer byte, then the rest 150 ms later"},
    {Fault::Hid, "hid", "answer the next setting write with 22 42 40 01 (HID mode)"},
    {Fault::HidPos, "hid-pos", "answer the next setting write with 22 42 40 03 (HID-POS mode)"},
    {Fault::BaudChanged, "baud-changed", "answer the next setting write with 22 41 41 00"},
    {Fault::WriteError, "write-error", "answer the next setting write with 33 76 42 01"},
    {Fault::NoReadBackEnd, "no-readback-end", "never send the 24 71 81 frame of the next read-back"},
    {Fault::FirmwareFail, "firmware-fail", "end the next raw firmware image with \"5\" instead of \"8\""},
    {Fault::RecordAnswer, "record-answer", "[C] answer HEX data records with C (2 to 7 or A; default A), not \"1\""},
    {Fault::LateLoader, "late-loader", "[MS] give every loader answer MS late (default 500)"},
    {Fault::ShortErase, "short-erase", "answer the next erase request with 2 of its 5 bytes"},
};

bool ParseCount(std::string_view text, std::size_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string FaultPlan::Arm(std::string_view name, std::string_view arg)
{
    const auto* entry = std::find_if(std::begin(kFaultNames), std::end(kFaultNames),
                                     [&](const FaultName& f) { return name == f.name; });
    if (entry == std::end(kFaultNames))
        return "unknown fault \"" + std::string(name) + "\"";
    if (entry->fault == Fault::Bursts && !arg.empty()) {
        const auto comma = arg.find(',');
        std::size_t size = 0;
        std::size_t pause = static_cast<std::size_t>(burstPause_.count());
        if (!ParseCount(arg.substr(0, comma), size) || size == 0 ||
            (comma != std::string_view::npos && !ParseCount(arg.substr(comma + 1), pause)))
            return "bursts wants SIZE[,PAUSE_MS] with SIZE at least 1";
        burstSize_ = size;
        burstPause_ = Millis(pause);
    } else if (entry->fault == Fault::Garbage && !arg.empty()) {
        if (!ParseCount(arg, garbageCount_))
            return "garbage wants a byte count";
    } else if (entry->fault == Fault::RecordAnswer && !arg.empty()) {
        if (arg.size() != 1 || std::string_view("234567A").find(arg[0]) == std::string_view::npos)
            return "record-answer wants one of 2 to 7 or A";
        recordAnswer_ = arg[0];
    } else if (entry->fault == Fault::LateLoader && !arg.empty()) {
        std::size_t delay = 0;
        if (!ParseCount(arg, delay))
            return "late-loader wants a delay in ms";
        loaderDelay_ = Millis(delay);
    } else if (!arg.empty()) {
        return std::string(name) + " takes no parameter";
    }
    armed_.insert(entry->fault);
    return {};
}

bool FaultPlan::Spend(Fault fault)
{
    return armed_.erase(fault) != 0;
}

void FaultPlan::EmitReply(OutputQueue& out, const Bytes& reply) const
{
    if (reply.empty())
        return;
    Bytes shaped;
    if (IsArmed(Fault::Garbage))
        for (std::size_t i = 0; i < garbageCount_; ++i)
            shaped.push_back(kGarbageBytes[i % std::size(kGarbageBytes)]);
    shaped.insert(shaped.end(), reply.begin(), reply.end());
    EmitUnsolicited(out, shaped);
}

void FaultPlan::EmitUnsolicited(OutputQueue& out, const Bytes& bytes) const
{
    if (!IsArmed(Fault::Bursts)) {
        out.Append(bytes);
        return;
    }
    for (std::size_t at = 0; at < bytes.size(); at += burstSize_) {
        if (at > 0)
            out.AppendPause(burstPause_);
        const auto end = std::min(bytes.size(), at + burstSize_);
        out.Append(
            Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(end)));
    }
}

std::string FaultPlan::Names()
{
    std::string text;
    for (const auto& f : kFaultNames)
        text += std::string("  ") + f.name +
                std::string(std::max<std::size_t>(2, 17 - std::string_view(f.name).size()), ' ') + f.meaning + "\n";
    return text;
}

std::string FaultPlan::Describe() const
{
    std::string text;
    for (const auto& f : kFaultNames) {
        if (!IsArmed(f.fault))
            continue;
        if (!text.empty())
            text += ' ';
        text += f.name;
        if (f.fault == Fault::Bursts)
            text += "(" + std::to_string(burstSize_) + "," + std::to_string(burstPause_.count()) + "ms)";
        if (f.fault == Fault::Garbage)
            text += "(" + std::to_string(garbageCount_) + ")";
        if (f.fault == Fault::RecordAnswer)
            text += std::string("(") + recordAnswer_ + ")";
        if (f.fault == Fault::LateLoader)
            text += "(" + std::to_string(loaderDelay_.count()) + "ms)";
    }
    return text.empty() ? "none" : text;
}

}  // namespace quillon::sim
