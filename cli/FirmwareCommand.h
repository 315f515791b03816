#pragma once
#include <string>

namespace quillon::cli {

struct FirmwareCommandOptions {
    std::string port;       // COMn or a device path
    std::string file;
    bool erase = false;
    bool repair = false;
};

// Sends a firmware file to the device's loader as the download dialog does,
// with a progress bar on standard error when that is a terminal (a line
// per percent otherwise).  Exit status: 0 loaded, 3 the port could not be
// opened, 1 any other failure (its message on standard error).
int RunFirmwareDownloadCommand(const FirmwareCommandOptions& options);

}  // namespace quillon::cli
