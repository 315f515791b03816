#include "cli/DeviceLink.h"
#include "cli/Interrupts.h"
#include "cli/PortOptions.h"
#include "cli/SettingWrites.h"
#include "cli/Verbs.h"
#include "profile/ProfileReader.h"
#include "profile/ReportedSettings.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <iterator>
#include <mutex>
#include <set>
#include <thread>

namespace quillon::cli {

namespace {

struct ApplyArgs : PortArgs {
    std::string profile;
    std::vector<std::string> ports;
    std::size_t jobs = 0;  // 0: every port at once
};

// What every port's thread reads and none changes.
struct Batch {
    const ApplyArgs& args;
    std::shared_ptr<const PortTargets> targets;
    const CatalogueLists& catalogue;
    const CatalogueTree& tree;
    const std::vector<ProfileSetting>& settings;
    const std::vector<SettingWrite>& writes;
};

// How one port ended.
struct PortResult {
    bool opened = false;
    bool matches = false;
    std::string text;  // the line's result column
    int written = 0;
    std::optional<std::size_t> differ;  // nullopt when the check did not run
};

// Why the link gave up, in one line: a lost port, else its last message.
std::string Reason(const DeviceLink& link)
{
    if (link.PortFailed())
        return "the port was lost";
    if (!link.Messages().empty()) {
        std::string text = link.Messages().back();
        return text.substr(0, text.find('\n'));
    }
    return "no answer";
}

bool IsLinkReport(const std::string& message)
{
    return message == kBaudChangedText || message == kLinkHidText || message == kLinkHidPosText;
}

// What one device is sent, given what it reported on connecting.  The
// line's own settings go last, after the check, and only when the device
// does not hold them yet: it answers them by changing the link.
struct WritePlan {
    std::vector<const SettingWrite*> ordinary;
    std::vector<const SettingWrite*> linkChanges;
    std::vector<ProfileSetting> checked;  // the settings the read-back must show
};

WritePlan PlanForDevice(const Batch& batch, const DeviceReport& device)
{
    std::set<std::string> differing;
    for (const SettingDifference& difference : DifferencesFromDevice(batch.settings, device))
        differing.insert(difference.code);
    WritePlan plan;
    for (const SettingWrite& write : batch.writes) {
        if (!ChangesLink(write.code))
            plan.ordinary.push_back(&write);
        else if (differing.contains(write.code))
            plan.linkChanges.push_back(&write);
    }
    std::ranges::copy_if(batch.settings, std::back_inserter(plan.checked), [&](const ProfileSetting& setting) {
        return std::ranges::none_of(plan.linkChanges, [&](const SettingWrite* w) { return w->code == setting.code; });
    });
    return plan;
}

PortResult ApplyToPort(const Batch& batch, std::size_t index)
{
    PortArgs args = batch.args;
    args.port = batch.args.ports[index];
    DeviceLink link(args, batch.targets, index);
    link.KeepMessagesQuiet();
    link.UseCatalogue(batch.catalogue, batch.tree);
    PortResult result;
    // An interrupt ends a port after the exchange in progress, and its line
    // says how far it came.
    const auto failed = [&] {
        result.text = Interrupted() ? "interrupted" : "failed: " + Reason(link);
        return result;
    };
    if (Interrupted()) {
        result.text = "interrupted: not started";
        return result;
    }
    if (link.Open() != ExitStatus::Done)
        return failed();
    result.opened = true;
    if (link.Connect() != ExitStatus::Done || link.FinishReadBack() != ExitStatus::Done)
        return failed();

    const WritePlan plan = PlanForDevice(batch, link.Report());
    // One read-back after all the writes, for the check, instead of one after each.
    link.Session().SetReadBackAfterWrite(false);
    for (const SettingWrite* write : plan.ordinary) {
        if (link.Write(write->recordIndex, write->value) != ExitStatus::Done || !link.Online())
            return failed();
        ++result.written;
    }
    if (link.ReadBack() != ExitStatus::Done || !link.Online())
        return failed();
    const std::vector<SettingDifference> differences = DifferencesFromDevice(plan.checked, link.Report());
    result.differ = differences.size();
    if (!differences.empty()) {
        result.text = "differs:";
        for (const SettingDifference& difference : differences)
            result.text += " " + difference.code;
        return result;
    }
    for (const SettingWrite* write : plan.linkChanges) {
        if (Interrupted())
            return failed();
        link.Write(write->recordIndex, write->value);
        if (link.PortFailed() || link.Messages().empty() || !IsLinkReport(link.Messages().back()))
            return failed();
        ++result.written;
    }
    result.matches = true;
    result.text = plan.linkChanges.empty() ? "ok" : "ok, the link changed: connect again with its new settings";
    return result;
}

// One line per port, written whole however the threads interleave.
void PrintLine(std::mutex& output, const std::string& port, const PortResult& result)
{
    const std::string line = port + "\t" + result.text + "\t" + std::to_string(result.written) + " written\t" +
                             (result.differ ? std::to_string(*result.differ) : std::string("-")) + " differ\n";
    std::lock_guard lock(output);
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

ExitStatus RunApply(const ApplyArgs& args)
{
    // A link that never opens a port loads the catalogue once for all.
    DeviceLink loader(args);
    if (!loader.LoadCatalogue())
        return ExitStatus::BadInput;
    const CQuillonDoc& doc = loader.Doc();
    const ProfileRead profile = ReadProfile(args.profile, doc.catalogue.treeNodes);
    if (!profile.error.empty())
        throw CLI::ValidationError(profile.error);
    const std::vector<SettingWrite> writes = PlanWrites(profile.settings, doc.catalogue.treeNodes);
    const Batch batch{args, std::make_shared<const PortTargets>(args.ports), doc.catalogue, loader.Tree(),
                      profile.settings, writes};

    std::vector<PortResult> results(args.ports.size());
    std::atomic<std::size_t> next{0};
    std::mutex output;
    const auto work = [&] {
        for (std::size_t i; (i = next++) < args.ports.size();) {
            results[i] = ApplyToPort(batch, i);
            PrintLine(output, args.ports[i], results[i]);
        }
    };
    const std::size_t jobs = args.jobs == 0 ? args.ports.size() : std::min(args.jobs, args.ports.size());
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < jobs; ++i)
        threads.emplace_back(work);
    threads.clear();  // joins

    if (Interrupted())
        return ExitStatus::Interrupted;
    if (std::ranges::none_of(results, &PortResult::opened))
        return ExitStatus::PortNotOpened;
    return std::ranges::all_of(results, &PortResult::matches) ? ExitStatus::Done : ExitStatus::DeviceOrOutcome;
}

}  // namespace

Verb AddApplyVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("apply", "Write a profile to one or more devices at once and check them.");
    command->footer(
        "Reads and checks FILE first; a profile refused sends nothing to any port.  Then, on every port at once "
        "(at most --jobs at a time), connects, writes each setting and waits for its reply, reads every setting "
        "back and checks that the device reports each setting of the profile.  Prints one line per port as it "
        "ends, tab-separated: the port, the result (ok; differs: and the codes that differ; failed: and why), "
        "the settings written and the settings that differ after the check (- when it did not run).  A port that "
        "fails does not stop the others.  The line's own settings (baud rate, USB or serial mode) are written only "
        "when the device does not hold them yet, and last, after the check: the device answers them by changing "
        "the link, and the result says to connect again.  Status 1 when a port failed or differs, 3 when no port "
        "could be opened.");
    auto args = std::make_shared<ApplyArgs>();
    command->add_option("FILE", args->profile, "the profile, as read -o or the window's 保存配置 writes it")
        ->required();
    command->add_option("--port", args->ports, "COMn or a device path; repeat it for more devices")
        ->type_name("P")
        ->required();
    AddLineOptions(*command, *args);
    command->add_option("--jobs", args->jobs, "how many ports are worked at once (default: all)")
        ->type_name("N")
        ->check(WholeNumberFrom(1, 1000));
    return {command, [args] { return RunApply(*args); }};
}

}  // namespace quillon::cli
