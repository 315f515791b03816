#pragma once
#include "sim/DeviceIdentity.h"
#include "sim/TextEncoder.h"

#include <string>
#include <utility>
#include <vector>

namespace quillon::sim {

struct SimOptions {
    int com = 9;
    std::string catalogue;  // empty: the one the window would load
    unsigned baud = 115200;
    bool pace = true;
    unsigned readBackHoldMs = 100;  // quiet line before a read-back's closing frame
    std::string controlPath;
    std::string firmwareOut;
    std::string replay;                                       // a wire trace whose device side is played instead
    std::vector<std::pair<std::string, std::string>> faults;  // name, parameter
    TextEncoding encoding = TextEncoding::Gbk;
    unsigned width = DeviceIdentity{}.width;
    unsigned height = DeviceIdentity{}.height;
    bool help = false;
    bool version = false;
};

// Parses the command line; returns an error text, empty on success.
std::string ParseOptions(int argc, const char* const* argv, SimOptions& options);

std::string UsageText();

}  // namespace quillon::sim
