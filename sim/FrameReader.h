#pragma once
#include "sim/DeviceSettings.h"

#include <optional>
#include <span>

namespace quillon::sim {

// Cuts the bytes the tool sends into whole frames, however the line split
// them.  Requests have fixed sizes (a read is class + key even when the key's
// value is long); setting writes follow the key's length form.  A byte that
// starts nothing known may still begin an Intel HEX record sent to the loader
// without a handshake (repair upgrade), so a checksummed record is recognised
// too.  Everything else is skipped when the line falls quiet.
class FrameReader {
public:
    enum class Kind { Read, Info, Image, LoaderCommand, Write, HexRecord };
    struct Frame {
        Kind kind;
        Bytes bytes;
    };

    explicit FrameReader(const DeviceSettings& settings) : settings_(settings) {}

    void Feed(std::span<const std::uint8_t> bytes) { pending_.insert(pending_.end(), bytes.begin(), bytes.end()); }
    // The next whole frame, or nullopt when the bytes so far end in a partial one.
    std::optional<Frame> Next();
    // The line went quiet with a partial frame: give up its first byte, so
    // that a frame hiding behind junk is still found.  False when nothing is pending.
    bool SkipByte();
    bool HasPending() const { return !pending_.empty(); }
    // Hands the rest over to whoever reads the line next (the loader).
    Bytes TakePending();
    void Reset() { pending_.clear(); }

    // Intel HEX record in byte form: count, address, type, data, checksum.
    static bool IsHexRecord(const Bytes& record);

private:
    // Size of the frame at the front: 0 when it cannot be told yet, nullopt
    // when the front byte starts no frame.
    std::optional<std::size_t> FrontFrameSize(Kind& kind) const;

    const DeviceSettings& settings_;
    Bytes pending_;
};

}  // namespace quillon::sim
