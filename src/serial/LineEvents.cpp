#include "serial/LineEvents.h"

namespace quillon {

LineChanges CompareLines(const LineSnapshot& before, const LineSnapshot& after)
{
    LineChanges changes;
    const unsigned flipped = before.modem ^ after.modem;
    if (flipped & kModemCts)
        changes.events |= kEventCts;
    if (flipped & kModemDsr)
        changes.events |= kEventDsr;
    if (flipped & kModemRing)
        changes.events |= kEventRing;
    if (flipped & kModemCarrier)
        changes.events |= kEventCarrier;
    if (after.breaks != before.breaks)
        changes.events |= kEventBreak;
    if (after.queueOverflow != before.queueOverflow)
        changes.errors |= kErrorQueueOverflow;
    if (after.overrun != before.overrun)
        changes.errors |= kErrorOverrun;
    if (after.parity != before.parity)
        changes.errors |= kErrorParity;
    if (after.framing != before.framing)
        changes.errors |= kErrorFraming;
    if (changes.errors)
        changes.events |= kEventLineError;
    return changes;
}

}  // namespace quillon
