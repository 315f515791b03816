#pragma once
#include <optional>
#include <string>

#include "serial/LineEvents.h"
#include "serial/SerialSpeed.h"

namespace quillon {

// The few kernel calls the channel makes on a serial device.  Every call
// takes a descriptor from OpenSerialLine and never blocks.

// Opens the device read-write and non-blocking, for this program alone:
// TIOCEXCL keeps other programs out (root ignores it), an advisory lock
// also keeps out a second opener that is root or in this very process.
// -1 with errno set on failure.
int OpenSerialLine(const std::string& path);

// Raw 8-N-1 at the given speed; every other setting stays as the driver had it.
bool SetRaw8N1(int fd, const SpeedSetting& speed);

// Bytes waiting in the input queue; -1 when the port's status cannot be
// read (the device is gone or hung up).
int InputWaiting(int fd);
// Bytes not yet sent from the output queue; -1 when unreadable.
int OutputWaiting(int fd);

// Discards queued input and/or output.
void PurgeLine(int fd, bool input, bool output);

// The modem lines and error counters; none when the driver cannot report
// them (pseudo-terminals cannot).
std::optional<unsigned> ReadModemStatus(int fd);
std::optional<LineSnapshot> ReadLineSnapshot(int fd);

// Clears the exclusive mode and closes the descriptor.
void CloseSerialLine(int fd);

}  // namespace quillon
