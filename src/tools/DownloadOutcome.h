#pragma once
#include <cstdint>
#include <string>

#include "tools/HexRecords.h"

namespace quillon {

enum class DownloadResult {
    HexLoaded,        // the loader answered "8" to a record
    ImageUpgraded,    // the loader answered "8" after the image
    NoFile,           // no file chosen, or it cannot be read
    FileEmpty,        // nothing to send
    FileTooLarge,     // above kMaxFirmwareBytes
    BadHexLine,       // a malformed record; nothing was sent
    PortUnavailable,  // the port is unknown, missing or in use
    HandshakeFailed,  // the loader did not answer 33 77 03 00 00
    ImageRefused,     // the loader answered "5" after the image
    ReplyRefused,     // any other answer stopped the transfer
    HexUnfinished,    // every record was taken but "8" never came
    NoReply,          // a time-out passed with no answer
    PortLost,         // the port went away during the transfer
    Cancelled,        // the operator stopped it
};

struct DownloadOutcome {
    DownloadResult result;
    HexProblem problem{};    // with BadHexLine
    std::uint8_t reply = 0;  // with ReplyRefused
    int error = 0;           // with PortUnavailable: the system's reason, when there is one
};

// Where the window shows an outcome: in the progress label, in a message
// box, or not at all (the transfer just ends, as the loader's own "stop"
// answers do; the dialog is gone after a cancel).
enum class OutcomeShown { Label, MessageBox, Nothing };

struct OutcomeText {
    std::string text;  // always set: the command line prints every outcome
    OutcomeShown shown;
};

OutcomeText DescribeOutcome(const DownloadOutcome& outcome);
bool Succeeded(DownloadResult result);

}  // namespace quillon
