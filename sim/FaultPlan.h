#pragma once
#include "sim/OutputQueue.h"

#include <set>
#include <string>
#include <string_view>

namespace quillon::sim {

// Misbehaviour the operator or a test asks for.  Line faults (bursts,
// garbage) shape every reply until cleared; the others wait for their
// occasion and are spent by it.
enum class Fault {
    Bursts,         // replies cut into bursts with pauses between
    Garbage,        // junk bytes before each reply
    SilentProbe,    // the next connect probe gets no answer
    WrongProbe,     // the next probe gets a wrong answer, then the right one
    StrayProbe,     // a stray byte before the next probe's answer, which comes in two pieces
    Hid,            // the next setting write is answered "link is HID"
    HidPos,         // ... "link is HID-POS"
    BaudChanged,    // ... "baud rate changed"
    WriteError,     // ... with the error reply
    NoReadBackEnd,  // the next read-back never gets its closing frame
    FirmwareFail,   // the next firmware image is refused at its end
    RecordAnswer,   // HEX data records answered with another "taken" character
    LateLoader,     // the loader's answers come late
    ShortErase,     // the next erase request is answered short
};

class FaultPlan {
public:
    // Bytes put before replies by the garbage fault, cycled; none of them
    // starts a reply frame or reads as a loader answer.
    static constexpr std::uint8_t kGarbageBytes[] = {0xA5, 0x5A, 0xFF, 0x00, 0x7E, 0x81, 0x13, 0xC9};
    static constexpr Millis kWrongProbeGap{300};
    static constexpr Millis kStrayProbeGap{150};

    // Arms a fault by its name (see Names()); arg is its optional parameter
    // (bursts: "SIZE[,PAUSE_MS]", garbage: "COUNT").  Returns an error text,
    // empty when armed.
    std::string Arm(std::string_view name, std::string_view arg = {});
    void Clear() { armed_.clear(); }
    bool IsArmed(Fault fault) const { return armed_.count(fault) != 0; }
    // True once per arming: the fault is disarmed by being used.
    bool Spend(Fault fault);
    // What a HEX data record is answered with: '1', or record-answer's character.
    char RecordAnswer() const { return IsArmed(Fault::RecordAnswer) ? recordAnswer_ : '1'; }
    // How late the loader answers (late-loader), else zero.
    Millis LoaderDelay() const { return IsArmed(Fault::LateLoader) ? loaderDelay_ : Millis::zero(); }

    // A reply to something the tool sent: garbage first, then bursts.
    void EmitReply(OutputQueue& out, const Bytes& reply) const;
    // Bytes the device sends of its own accord (decoded barcodes): bursts only.
    void EmitUnsolicited(OutputQueue& out, const Bytes& bytes) const;

    // "name - meaning" lines for the help text.
    static std::string Names();
    // The armed faults, e.g. "bursts(4,50ms) hid" or "none".
    std::string Describe() const;

private:
    std::set<Fault> armed_;
    std::size_t burstSize_ = 4;
    Millis burstPause_{50};
    std::size_t garbageCount_ = 3;
    char recordAnswer_ = 'A';
    Millis loaderDelay_{500};
};

}  // namespace quillon::sim
