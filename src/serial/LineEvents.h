#pragma once
#include <cstdint>

namespace quillon {

// Port event bits, as the channel's dispatcher sees them.
enum CommEvent : uint32_t {
    kEventReceived = 0x001,
    kEventTxEmpty = 0x004,
    kEventCts = 0x008,
    kEventDsr = 0x010,
    kEventCarrier = 0x020,
    kEventBreak = 0x040,
    kEventLineError = 0x080,
    kEventRing = 0x100,
};

// Modem-status bits, as notifications carry them.
enum ModemBit : unsigned {
    kModemCts = 0x10,
    kModemDsr = 0x20,
    kModemRing = 0x40,
    kModemCarrier = 0x80,
};

// Line-error bits, as the line-error notification carries them.
enum LineErrorBit : unsigned {
    kErrorQueueOverflow = 0x01,
    kErrorOverrun = 0x02,
    kErrorParity = 0x04,
    kErrorFraming = 0x08,
};

// What the driver tells about the lines at one moment: the modem-status
// bits and its running counts of breaks and receive errors.
struct LineSnapshot {
    unsigned modem = 0;
    uint32_t breaks = 0;
    uint32_t framing = 0;
    uint32_t overrun = 0;
    uint32_t parity = 0;
    uint32_t queueOverflow = 0;
};

struct LineChanges {
    uint32_t events = 0;  // CommEvent bits
    unsigned errors = 0;  // LineErrorBit bits
};

// Linux reports line state as levels and counters, not as events; comparing
// two readings gives the events that happened in between.
LineChanges CompareLines(const LineSnapshot& before, const LineSnapshot& after);

}  // namespace quillon
