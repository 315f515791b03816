#include "cli/DeviceLink.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {

struct VersionArgs {
    PortArgs link;
};

bool Received(const DeviceInfo& info, std::uint8_t code)
{
    return (info.infoKinds & (1u << (code - DeviceInfo::kFirstCode))) != 0;
}

std::string Key(std::uint8_t code)
{
    return "C" + std::to_string(code - 0xC0);
}

void PrintJson(const DeviceInfo& info)
{
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (std::uint8_t code = DeviceInfo::kFirstCode; code <= DeviceInfo::kLastCode; ++code) {
        if (Received(info, code))
            out[Key(code)] = info.Text(code);
    }
    if (Received(info, DeviceInfo::kResolutionCode)) {
        out["width"] = info.width;
        out["height"] = info.height;
    }
    std::printf("%s\n", out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

int PrintVersion(const VersionArgs& args)
{
    DeviceLink link(args.link);
    if (const int status = link.LoadAndOpen())
        return status;
    CaptureEvents events;
    DeviceCapture capture(link.Doc(), link.Session().Frames(), link.Session().Dispatcher(), link.Link(),
                          events);
    capture.RequestVersion();
    link.Pump([&] { return events.versionComplete; });

    const DeviceInfo& info = link.Doc().deviceInfo;
    if (args.link.json) {
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
            missing += (missing.empty() ? "" : " ") + Key(code);
    }
    std::fprintf(stderr, "quillon-cli version: no answer for %s\n", missing.c_str());
    return kExitDevice;
}

}  // namespace

Verb AddVersionVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("version", "Print the device's information fields.");
    command->footer("The eight fields as the version dialog labels them, one a line, in its order; --json: an "
                    "object keyed C1..C8 plus width and height.\nExit status: 0 all fields came, 1 some did not "
                    "answer within the time-out (they are named; those that came are printed), 2 wrong "
                    "arguments, 3 port not opened.");
    auto args = std::make_shared<VersionArgs>();
    AddCaptureOptions(*command, args->link);
    command->add_flag("--json", args->link.json, "print a JSON object");
    return {command, [args] { return PrintVersion(*args); }};
}

}  // namespace quillon::cli
