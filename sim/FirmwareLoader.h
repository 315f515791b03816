#pragma once
#include "sim/FaultPlan.h"
#include "sim/SimTime.h"
#include "sim/WireFormat.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quillon::sim {

// The device's firmware loader.  After its handshake it takes either Intel
// HEX records, one at a time, each answered with one character, or a raw
// image streamed in blocks with no end marker, answered once the line has
// been quiet for a while.  Which of the two comes is told by how the sender
// behaves, not by what the bytes look like (a raw image may well begin with
// a checksummed record): a HEX sender stops after each whole record until
// it is answered, a raw sender never waits.  What arrived is written to a file, when one is
// named, so that it can be compared with what was sent: for HEX the
// memory image the records describe, lowest address first, gaps 0xFF; for a
// raw image the bytes themselves.
class FirmwareLoader {
public:
    // The loader's "erase configuration" request when it comes first; it is
    // also a well-formed record (extended linear address 000F) and a HEX
    // file may start with it.
    static const Bytes kEraseRecord;
    // A sender that stops after one whole record and stays quiet this long
    // waits for its answer: it sends HEX.  A raw image streams on.
    static constexpr Millis kHexDecisionQuiet{50};
    // A raw image is over when the line has been quiet this long.
    static constexpr Millis kImageEndQuiet{700};
    // A record cut short this long ago is taken as the file's last line.
    static constexpr Millis kRecordQuiet{200};
    // The loader gives up when nothing arrives for this long; a sender that
    // is merely slow gets far less patience from a real device.
    static constexpr Millis kGiveUpQuiet{10000};
    // Largest HEX memory image kept, gaps included.
    static constexpr std::uint64_t kMaxMemoryImage = 64u << 20;

    struct Hooks {
        std::function<void()> eraseConfiguration;
        std::function<void(const std::string&)> log;
    };

    FirmwareLoader(FaultPlan& faults, std::string outputPath, Hooks hooks)
        : faults_(faults),
          outputPath_(std::move(outputPath)),
          hooks_(std::move(hooks))
    {
    }

    // After the handshake either kind may follow; without it (a repair
    // upgrade) only HEX records come.
    enum class Expect { HexOrRaw, Hex };

    bool Active() const { return phase_ != Phase::Off; }
    // The next bytes are firmware.
    void Begin(Expect expect);
    // Bytes for the loader; returns what it answers.
    Bytes Receive(std::span<const std::uint8_t> bytes);
    // The line has been quiet for `quiet`; returns what the loader answers.
    Bytes OnQuiet(Millis quiet);
    // The next quiet span, beyond the one already seen, at which OnQuiet may act.
    Millis NextQuietStep(Millis alreadyQuiet) const;
    void Abort() { Finish(); }

private:
    enum class Phase { Off, Undecided, Hex, Raw };
    struct DataRecord {
        std::uint32_t address;
        Bytes data;
    };

    std::size_t FrontRecordSize() const { return pending_.empty() ? SIZE_MAX : pending_[0] + 5u; }
    Bytes TakeRecords();
    // Acts on one record (checksum already judged); returns the answer.
    char ApplyRecord(const Bytes& record);
    Bytes EndImage();
    void Save(const Bytes& image, const char* kind);
    void SaveMemoryImage();
    void Finish();

    FaultPlan& faults_;
    std::string outputPath_;
    Hooks hooks_;
    Phase phase_ = Phase::Off;
    Bytes pending_;
    bool firstRecord_ = true;
    std::uint32_t base_ = 0;
    std::vector<DataRecord> records_;
};

}  // namespace quillon::sim
