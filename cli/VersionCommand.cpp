#include "base/ShownText.h"
#include "cli/DeviceLink.h"
#include "cli/JsonResults.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

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

// The field's key for scripts, which read the fields by name.
const char* FieldName(std::uint8_t code)
{
    static const char* const kNames[] = {"device_text",   "firmware_version", "resolution",  "hardware_version",
                                         "serial_number", "production_date",  "device_type", "specification"};
    return kNames[code - DeviceInfo::kFirstCode];
}

void PrintFields(const std::string& port, const DeviceInfo& info)
{
    Json fields = Json::array();
    Json named = Json::object();
    for (const VersionField& field : VersionFields(info)) {
        if (!Received(info, field.code))
            continue;
        char code[3];
        std::snprintf(code, sizeof code, "%02X", field.code);
        fields.push_back(
            {{"code", code}, {"name", FieldName(field.code)}, {"caption", field.label}, {"value", field.text}});
        named[FieldName(field.code)] = field.text;
    }
    PrintJson({{"port", port}, {"fields", fields}, {"named", named}});
}

ExitStatus PrintVersion(const VersionArgs& args)
{
    DeviceLink link(args.link);
    if (const ExitStatus status = link.LoadAndOpen(); status != ExitStatus::Done)
        return status;
    CaptureEvents events;
    DeviceCapture capture(link.Doc(), link.Session().Frames(), link.Session().Dispatcher(), link.Link(), events);
    capture.RequestVersion();
    const DeviceLink::End end = link.Pump([&] { return events.versionComplete; });

    const DeviceInfo& info = link.Doc().deviceInfo;
    if (args.link.json) {
        PrintFields(args.link.port, info);
    } else {
        for (const VersionField& field : VersionFields(info)) {
            if (Received(info, field.code))
                std::printf("%s%s\n", Shown(field.label).c_str(), Shown(field.text).c_str());
        }
    }
    std::fflush(stdout);  // the fields before the complaint, also through a pipe
    if (events.versionComplete)
        return ExitStatus::Done;
    if (end == DeviceLink::End::Interrupted) {
        Complain("interrupted before every field came");
        return ExitStatus::Interrupted;
    }
    std::string missing;
    for (std::uint8_t code = DeviceInfo::kFirstCode; code <= DeviceInfo::kLastCode; ++code) {
        if (!Received(info, code))
            missing += (missing.empty() ? "" : " ") + Key(code);
    }
    Complain(args.link.port + ": no answer for " + missing);
    return ExitStatus::DeviceOrOutcome;
}

}  // namespace

Verb AddVersionVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("version", "Print the device's information fields.");
    command->footer("The eight fields as the version dialog labels them, one a line, in its order; --json: one "
                    "object {port, fields: [{code (C1..C8), name, caption, value}], named: {name: value}}, the names "
                    "device_text, firmware_version, resolution, hardware_version, serial_number, production_date, "
                    "device_type, specification.  Fields that did not come within the time-out are named on standard "
                    "error (status 1); those that came are printed.");
    auto args = std::make_shared<VersionArgs>();
    AddPortOptions(*command, args->link, false);
    command->add_flag("--json", args->link.json, "print a JSON object");
    return {command, [args] { return PrintVersion(*args); }};
}

}  // namespace quillon::cli
