#pragma once

namespace quillon::cli {

// How quillon-cli ends, the same for every verb, so that a script tells a
// device that said no from a typing mistake or a port that is not there.
enum class ExitStatus {
    Done = 0,             // the verb did what was asked
    DeviceOrOutcome = 1,  // the device failed or answered otherwise than asked
    BadInput = 2,         // wrong arguments or files; nothing was sent
    PortNotOpened = 3,    // no port could be opened
    Interrupted = 130,    // SIGINT or SIGTERM; what was done is printed
};

constexpr int Code(ExitStatus status)
{
    return static_cast<int>(status);
}

// The table every verb's --help ends with (the man page repeats it).
inline constexpr const char* kExitStatusTable =
    "Exit status: 0 done, 1 the device failed or the outcome differs from what was asked, "
    "2 wrong arguments or files (nothing is sent), 3 the port could not be opened, "
    "130 interrupted (SIGINT, SIGTERM).";

}  // namespace quillon::cli
