#include "base/ShownText.h"
#include "cli/DeviceLink.h"
#include "cli/Interrupts.h"
#include "cli/JsonResults.h"
#include "cli/PortOptions.h"
#include "cli/SettingWrites.h"
#include "cli/Verbs.h"
#include "profile/ProfileReader.h"
#include "profile/ReportedSettings.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace quillon::cli {

namespace {

struct ApplyArgs : PortArgs {
    std::string profile;
    std::vector<std::string> ports;
    std::size_t jobs = 0;  // 0: every port at once
    bool dryRun = false;
};

// What every port's thread reads and none changes.
struct Batch {
    const ApplyArgs& args;
    const std::vector<std::string>& ports;  // each port once
    std::shared_ptr<const PortTargets> targets;
    const CatalogueLists& catalogue;
    const CatalogueTree& tree;
    const std::vector<ProfileSetting>& settings;
    const std::vector<SettingWrite>& writes;
};

// How one port ended.
struct PortResult {
    enum class Outcome { Ok, Differs, Failed, Interrupted };
    bool opened = false;
    Outcome outcome = Outcome::Failed;
    std::string reason;                                         // empty when ok
    std::vector<SettingDifference> changes;                     // what the device held apart from the profile at first
    std::vector<std::string> written;                           // the codes written
    std::optional<std::vector<SettingDifference>> differences;  // after the check; nullopt when it did not run
    bool linkChanged = false;
};

bool IsLinkReport(const std::string& message)
{
    return message == kBaudChangedText || message == kLinkHidText || message == kLinkHidPosText;
}

// What one device is sent: only the settings it does not hold yet, so that
// a second run writes nothing.  The line's own settings go last, after the
// check: the device answers them by changing the link.
struct WritePlan {
    std::vector<const SettingWrite*> ordinary;
    std::vector<const SettingWrite*> linkChanges;
    std::vector<ProfileSetting> checked;  // the settings the read-back must show
};

WritePlan PlanForDevice(const Batch& batch, const std::vector<SettingDifference>& changes)
{
    std::set<std::string> differing;
    for (const SettingDifference& change : changes)
        differing.insert(change.code);
    WritePlan plan;
    for (const SettingWrite& write : batch.writes) {
        if (differing.contains(write.code))
            (ChangesLink(write.code) ? plan.linkChanges : plan.ordinary).push_back(&write);
    }
    std::ranges::copy_if(batch.settings, std::back_inserter(plan.checked), [&](const ProfileSetting& setting) {
        return std::ranges::none_of(plan.linkChanges, [&](const SettingWrite* w) { return w->code == setting.code; });
    });
    std::ranges::stable_partition(plan.linkChanges, [](const SettingWrite* w) { return ChangesSpeed(w->code); });
    return plan;
}

// The line's speed once the codes were written: the speed option's name
// (its baud rate) when one of them set it.
int SpeedAfter(const Batch& batch, const std::vector<std::string>& written, int baud)
{
    for (const SettingWrite& write : batch.writes) {
        const std::string& name = batch.catalogue.treeNodes[static_cast<std::size_t>(write.recordIndex)].name;
        if (ChangesSpeed(write.code) && std::ranges::find(written, write.code) != written.end() && !name.empty() &&
            name.size() <= 7 && name.find_first_not_of("0123456789") == std::string::npos)
            baud = std::stoi(name);
    }
    return baud;
}

PortResult ApplyToPort(const Batch& batch, std::size_t index)
{
    PortArgs args = batch.args;
    args.port = batch.ports[index];
    DeviceLink link(args, batch.targets, index);
    link.KeepMessagesQuiet();
    link.UseCatalogue(batch.catalogue, batch.tree);
    PortResult result;
    // An interrupt ends a port after the exchange in progress, and its line
    // says how far it came.
    const auto failed = [&] {
        result.outcome = Interrupted() ? PortResult::Outcome::Interrupted : PortResult::Outcome::Failed;
        result.reason = Interrupted() ? std::string() : link.FailureReason();
        return result;
    };
    if (Interrupted()) {
        result.outcome = PortResult::Outcome::Interrupted;
        result.reason = "not started";
        return result;
    }
    if (link.Open() != ExitStatus::Done)
        return failed();
    result.opened = true;
    if (link.Connect() != ExitStatus::Done || link.FinishReadBack() != ExitStatus::Done)
        return failed();

    result.changes = DifferencesFromDevice(batch.settings, link.Report());
    if (batch.args.dryRun) {
        result.differences = result.changes;
        result.outcome = result.changes.empty() ? PortResult::Outcome::Ok : PortResult::Outcome::Differs;
        if (!result.changes.empty())
            result.reason = std::to_string(result.changes.size()) + " to write";
        return result;
    }
    const WritePlan plan = PlanForDevice(batch, result.changes);
    // One read-back after all the writes, for the check, instead of one after each.
    link.Session().SetReadBackAfterWrite(false);
    for (const SettingWrite* write : plan.ordinary) {
        if (link.Write(write->recordIndex, write->value) != ExitStatus::Done || !link.Online())
            return failed();
        result.written.push_back(write->code);
    }
    if (!plan.ordinary.empty() && (link.ReadBack() != ExitStatus::Done || !link.Online()))
        return failed();
    result.differences = DifferencesFromDevice(plan.checked, link.Report());
    if (!result.differences->empty()) {
        result.outcome = PortResult::Outcome::Differs;
        result.reason = std::to_string(result.differences->size()) + " differ after writing";
        return result;
    }
    // The speed first: the device still answers at its new speed, so the
    // interface can follow over the same line, connected again; written
    // first, a USB interface would leave no line for the speed.
    std::unique_ptr<DeviceLink> relinked;
    DeviceLink* current = &link;
    for (const SettingWrite* write : plan.linkChanges) {
        if (result.linkChanged) {
            relinked.reset();
            args.baud = SpeedAfter(batch, result.written, args.baud);
            relinked = std::make_unique<DeviceLink>(args, batch.targets, index);
            relinked->KeepMessagesQuiet();
            relinked->UseCatalogue(batch.catalogue, batch.tree);
            current = relinked.get();
            if (current->Open() != ExitStatus::Done || current->Connect() != ExitStatus::Done ||
                current->FinishReadBack() != ExitStatus::Done) {
                result.outcome = PortResult::Outcome::Failed;
                result.reason = "connected again at " + std::to_string(args.baud) +
                                " baud after writing the speed: " + current->FailureReason();
                return result;
            }
        }
        const bool accepted = current->Write(write->recordIndex, write->value) == ExitStatus::Done;
        const bool reported = !current->Messages().empty() && IsLinkReport(current->Messages().back());
        if (current->PortFailed() || !(accepted || reported)) {
            result.outcome = PortResult::Outcome::Failed;
            result.reason = current->FailureReason();
            return result;
        }
        result.written.push_back(write->code);
        result.linkChanged = true;
    }
    result.outcome = PortResult::Outcome::Ok;
    return result;
}

std::string Codes(const std::vector<SettingDifference>& differences)
{
    std::string codes;
    for (const SettingDifference& difference : differences)
        codes += " " + difference.code;
    return codes;
}

// The line's result column.
std::string ResultText(const PortResult& result, bool dryRun)
{
    const bool ended =
        result.outcome == PortResult::Outcome::Failed || result.outcome == PortResult::Outcome::Interrupted;
    if (dryRun && !ended)
        return result.changes.empty() ? "ok" : "would write:" + Codes(result.changes);
    switch (result.outcome) {
    case PortResult::Outcome::Ok:
        return result.linkChanged ? "ok, the link changed: connect again with its new settings" : "ok";
    case PortResult::Outcome::Differs: return "differs:" + Codes(*result.differences);
    case PortResult::Outcome::Interrupted:
        return result.reason.empty() ? "interrupted" : "interrupted: " + result.reason;
    case PortResult::Outcome::Failed: break;
    }
    return "failed: " + result.reason;
}

// One line per port, written whole however the threads interleave.
void PrintLine(std::mutex& output, const std::string& port, const PortResult& result, bool dryRun)
{
    const std::string differ = result.differences ? std::to_string(result.differences->size()) : std::string("-");
    const std::string line = port + "\t" + Shown(ResultText(result, dryRun)) + "\t" +
                             std::to_string(result.written.size()) + " written\t" + differ + " differ\n";
    std::lock_guard lock(output);
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

Json PortJson(const std::string& port, const PortResult& result)
{
    static const char* const kOutcomes[] = {"ok", "differs", "failed", "interrupted"};
    Json out = {{"port", port}, {"outcome", kOutcomes[static_cast<int>(result.outcome)]}};
    if (result.outcome != PortResult::Outcome::Ok)
        out["reason"] = Shown(result.reason);
    out["changes"] = DifferencesJson(result.changes);
    out["written"] = result.written;
    out["differences"] = DifferencesJson(result.differences.value_or(std::vector<SettingDifference>{}));
    return out;
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
    const std::vector<std::string> ports = ExpandPortNames(args.ports);
    if (ports.empty()) {
        Complain("--port all: " + PresentPortsText());
        return ExitStatus::PortNotOpened;
    }
    const Batch batch{args,          ports,         std::make_shared<const PortTargets>(ports),
                      doc.catalogue, loader.Tree(), profile.settings,
                      writes};

    std::vector<PortResult> results(ports.size());
    std::atomic<std::size_t> next{0};
    std::mutex output;
    const auto work = [&] {
        for (std::size_t i; (i = next++) < ports.size();) {
            results[i] = ApplyToPort(batch, i);
            if (!args.json)
                PrintLine(output, ports[i], results[i], args.dryRun);
        }
    };
    const std::size_t jobs = args.jobs == 0 ? ports.size() : std::min(args.jobs, ports.size());
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < jobs; ++i)
        threads.emplace_back(work);
    threads.clear();  // joins

    if (args.json) {
        Json list = Json::array();
        for (std::size_t i = 0; i < ports.size(); ++i)
            list.push_back(PortJson(ports[i], results[i]));
        PrintJson({{"dry_run", args.dryRun}, {"ports", list}});
    }
    if (Interrupted())
        return ExitStatus::Interrupted;
    if (std::ranges::none_of(results, &PortResult::opened))
        return ExitStatus::PortNotOpened;
    const auto done = [&](const PortResult& result) {
        return args.dryRun ? result.outcome != PortResult::Outcome::Failed : result.outcome == PortResult::Outcome::Ok;
    };
    return std::ranges::all_of(results, done) ? ExitStatus::Done : ExitStatus::DeviceOrOutcome;
}

}  // namespace

Verb AddApplyVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("apply", "Write a profile to one or more devices at once and check them.");
    command->footer(
        "Reads and checks FILE (- for standard input) first; a profile refused sends nothing to any port.  Then, on "
        "every port at once (at most --jobs at a time), connects, reads every setting back, writes each setting "
        "the device does not hold yet and waits for its reply, reads every setting back again and checks that the "
        "device reports each setting of the profile.  Prints one line per port as it ends, tab-separated: the "
        "port, the result (ok; differs: and the codes that differ; failed: and why), the settings written and the "
        "settings that differ after the check (- when it did not run).  With --dry-run nothing is written: the "
        "result is ok, or would write: and the codes the device does not hold.  A port that fails does not stop "
        "the others; a port named twice (by its COM name, its path, a link to it or its USB serial number) is "
        "worked once.  The line's own settings (baud rate, USB or serial mode) are written only when the device "
        "does not hold them yet, and last, after the check: the device answers them by changing the link, and the "
        "result says to connect again.  An interrupt ends every port after the exchange in progress; each still "
        "gets its line (interrupted).\n"
        "--json prints instead one object: {\"dry_run\", \"ports\": [{\"port\", \"outcome\" (ok, differs, failed, "
        "interrupted), "
        "\"reason\" (unless ok), \"changes\", \"written\", \"differences\"}]}, each difference {\"code\", "
        "\"setting\", \"device\" (null when not reported), \"profile\"}.\n"
        "Status 0 when every port holds the profile (with --dry-run: every port was read), 1 when a port failed or "
        "differs, 3 when no port could be opened.");
    auto args = std::make_shared<ApplyArgs>();
    command
        ->add_option("FILE", args->profile,
                     Shown("the profile, as read -o or the window's 保存配置 writes it; - reads standard input"))
        ->required();
    command
        ->add_option("--port", args->ports,
                     "COMn, a device path (/dev/serial/by-id/... too), a USB serial number, or all (every port "
                     "present); repeat it for more devices")
        ->type_name("P")
        ->required()
        ->check(NonEmptyPort());
    AddLineOptions(*command, *args);
    AddCatalogueOption(*command, args->catalogue);
    command->add_option("--jobs", args->jobs, "how many ports are worked at once (default: all)")
        ->type_name("N")
        ->check(WholeNumberIn(1, 1000, "ports at once"));
    command->add_flag("--dry-run", args->dryRun, "connect and read back, print what would be written, write nothing");
    command->add_flag("--json", args->json, "print the results as one JSON object");
    return {command, [args] { return RunApply(*args); }};
}

}  // namespace quillon::cli
