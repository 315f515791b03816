#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/Json.h"

#include <cstdio>

namespace quillon::cli {

namespace {

constexpr const char* kUsage = "usage: quillon-cli version --port P [--baud B] [--timeout MS] [--json]\n";

bool Received(const DeviceInfo& info, std::uint8_t code)
{
    return (info.infoKinds & (1u << (code - DeviceInfo::kFirstCode))) != 0;
}

void PrintJson(const DeviceInfo& info)
{
    std::string out = "{";
    for (std::uint8_t code = DeviceInfo::kFirstCode; code <= DeviceInfo::kLastCode; ++code) {
        if (!Received(info, code))
            continue;
        char key[8];
        std::snprintf(key, sizeof key, "C%d", code - 0xC0);
        out += std::string(out.size() > 1 ? ", " : "") + "\"" + key + "\": " + JsonString(info.Text(code));
    }
    if (Received(info, DeviceInfo::kResolutionCode))
        out += ", \"width\": " + std::to_string(info.width) + ", \"height\": " + std::to_string(info.height);
    out += "}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int RunVersion(const Args& args)
{
    LinkOptions options;
    std::vector<std::string> rest;
    const std::string error = ParseLinkOptions(args, options, rest);
    const bool json = rest.size() == 1 && rest[0] == "--json";
    if (!error.empty() || (!rest.empty() && !json)) {
        std::fprintf(stderr, "quillon-cli version: %s\n%s", error.empty() ? "unknown argument" : error.c_str(), kUsage);
        return kExitArguments;
    }
    DeviceLink link(options);
    if (const int status = link.Open())
        return status;
    CaptureEvents events;
    DeviceCapture capture(link.doc, link.frames, link.dispatcher, link.replyRoute, events);
    capture.RequestVersion();
    link.Pump([&] { return events.versionComplete; });

    const DeviceInfo& info = link.doc.deviceInfo;
    if (json) {
        PrintJson(info);
    } else {
        for (const VersionField& field : VersionFields(info)) {
            if (Received(info, field.code))
                std::printf("%s%s\n", field.label, field.text.c_str());
        }
    }
    std::fflush(stdout);  // the fields before the complaint, also through a pipe
    if (events.versionComplete)
        return 0;
    std::string missing;
    for (std::uint8_t code = DeviceInfo::kFirstCode; code <= DeviceInfo::kLastCode; ++code) {
        if (!Received(info, code))
            missing += (missing.empty() ? "" : " ") + std::string("C") + std::to_string(code - 0xC0);
    }
    std::fprintf(stderr, "quillon-cli version: no answer for %s\n", missing.c_str());
    return kExitDevice;
}

}  // namespace quillon::cli
