#include "cli/DeviceLink.h"

#include "cli/Interrupts.h"
#include "cli/JsonResults.h"
#include "cli/Messages.h"

#include "app/ConfigLocation.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/XmlReader.h"
#include "serial/PortLinks.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

namespace quillon::cli {

DeviceLink::DeviceLink(const PortArgs& args, std::shared_ptr<const PortTargets> ports, std::size_t portIndex)
    : args_(args),
      ports_(std::move(ports)),
      portIndex_(portIndex)
{
    comm_.SetNotificationSink(this);
    session_ = std::make_unique<DeviceSession>(DeviceSession::Parts{doc_, comm_, tree_, *this, *this, prompt_});
    session_->SetConnectTimeout(args_.timeoutMs);
    session_->SetReadBackQuiet(args_.timeoutMs);
    session_->SetSettingObserver([this](std::string_view frame, int) {
        std::string key(frame.substr(std::min<std::size_t>(2, frame.size()), 4));
        std::ranges::transform(key, key.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        reportedFrames_[key] = frame;
    });
}

DeviceLink::~DeviceLink()
{
    comm_.Shutdown();
    comm_.SetNotificationSink(nullptr);
}

bool DeviceLink::LoadCatalogue()
{
    CXmlReader reader;
    const std::string catalogue = args_.catalogue.empty() ? LocateCatalogue() : args_.catalogue;
    StderrPrompt prompt(catalogue);
    if (CatalogueLoader(reader, doc_.catalogue, tree_, prompt).LoadCatalogue(catalogue) != 0) {
        Complain("cannot load the catalogue " + catalogue);
        return false;
    }
    return true;
}

void DeviceLink::UseCatalogue(const CatalogueLists& catalogue, const CatalogueTree& tree)
{
    doc_.catalogue = catalogue;
    tree_ = tree;
}

ExitStatus DeviceLink::LoadAndOpen()
{
    return LoadCatalogue() ? Open() : ExitStatus::BadInput;
}

ExitStatus DeviceLink::Open()
{
    if (!ports_)
        ports_ = std::make_shared<const PortTargets>(std::vector<std::string>{args_.port});
    const PortTargets::Target& target = (*ports_)[portIndex_];
    doc_.portNumber = target.number;
    doc_.baudRate = args_.baud;
    if (target.path && comm_.OpenByNumber(target.number, args_.baud)) {
        session_->PortOpened();
        return ExitStatus::Done;
    }
    doc_.portNumber = 0;
    if (!target.path) {
        prompt_.Tell("cannot open " + target.name + ": no such port\n" + ports_->PresentPorts());
        return ExitStatus::PortNotOpened;
    }
    prompt_.Tell(OpenFailureText(target.name, target.path, comm_.LastOpenError()));
    return ExitStatus::PortNotOpened;
}

ExitStatus DeviceLink::OpenAndConnect(bool readBack)
{
    if (const ExitStatus status = Open(); status != ExitStatus::Done)
        return status;
    if (const ExitStatus status = Connect(); status != ExitStatus::Done)
        return status;
    return readBack ? FinishReadBack() : ExitStatus::Done;
}

ExitStatus DeviceLink::Connect()
{
    session_->BeginConnect();
    const End end = RunUntil([&] { return online_ || doc_.portNumber == 0; }, args_.timeoutMs + 1000);
    if (end == End::Interrupted) {
        if (prompt_.echo)
            Complain(args_.port + ": interrupted while connecting; nothing was written");
        return ExitStatus::Interrupted;
    }
    if (end != End::Done || !online_) {
        if (!MessageShown())
            prompt_.ShowError(kConnectFailedText);
        return ExitStatus::DeviceOrOutcome;
    }
    return ExitStatus::Done;
}

ExitStatus DeviceLink::FinishReadBack()
{
    const int limitMs = args_.timeoutMs * 10;
    const End end = RunUntil([&] { return !session_->Link().ReadBusy(); }, limitMs);
    if (end == End::Interrupted) {
        if (prompt_.echo)
            Complain(args_.port + ": interrupted during the read-back of the settings");
        return ExitStatus::Interrupted;
    }
    // A read-back cut short is no read-back: what came is not the device's
    // whole state, and nothing may be judged or saved from it.
    if (portFailed_ || !online_) {
        prompt_.Tell(args_.port + ": the port was lost during the read-back of the settings");
        return ExitStatus::DeviceOrOutcome;
    }
    if (end != End::Done) {
        prompt_.Tell(args_.port + ": the read-back of the settings did not end within " + std::to_string(limitMs) +
                     " ms");
        return ExitStatus::DeviceOrOutcome;
    }
    return MessageShown() ? ExitStatus::DeviceOrOutcome : ExitStatus::Done;
}

ExitStatus DeviceLink::Write(int recordIndex, const ValueTriple& value)
{
    const std::size_t logged = doc_.monitorLines.size();
    session_->SendSettingFrame(recordIndex, value);
    if (MessageShown())
        return ExitStatus::DeviceOrOutcome;
    // The reply is the line logged after the frame sent.  An interrupt
    // still waits for it, so that the device is not left mid-exchange.
    const auto replied = [&] {
        return doc_.monitorLines.size() > logged + 1 || MessageShown() || doc_.portNumber == 0;
    };
    const End end = Run(replied, Clock::now() + std::chrono::milliseconds(args_.timeoutMs), std::nullopt, false);
    if (end == End::Deadline) {
        prompt_.Tell(args_.port + ": no reply to the setting within " + std::to_string(args_.timeoutMs) + " ms");
        return ExitStatus::DeviceOrOutcome;
    }
    if (portFailed_ && !MessageShown())
        prompt_.Tell(args_.port + ": the port was lost waiting for the reply to the setting");
    if (MessageShown() || doc_.portNumber == 0)
        return ExitStatus::DeviceOrOutcome;
    if (Interrupted())
        return ExitStatus::Interrupted;
    return FinishReadBack();
}

ExitStatus DeviceLink::ReadBack()
{
    if (session_->BeginReadSettings() != 1)
        return ExitStatus::DeviceOrOutcome;
    return FinishReadBack();
}

std::string DeviceLink::FailureReason() const
{
    if (portFailed_)
        return "the port was lost";
    if (prompt_.shown.empty())
        return "no answer";
    const std::string& text = prompt_.shown.back();
    return text.substr(0, text.find('\n'));
}

std::string DeviceLink::StateText() const
{
    if (!online_)
        return {};
    return ComNumber(args_.port) ? PortName(doc_.portNumber) + "，联机" : args_.port;
}

void DeviceLink::OnCommNotify(unsigned message, int port, long argument)
{
    std::lock_guard lock(mutex_);
    notifications_.push_back({message, port, argument});
    arrived_.notify_one();
}

void DeviceLink::Start(DeviceTimer timer, int milliseconds)
{
    deadlines_[timer] = Clock::now() + std::chrono::milliseconds(milliseconds);
}

void DeviceLink::Stop(DeviceTimer timer)
{
    deadlines_.erase(timer);
}

void DeviceLink::ShowOnline(int)
{
    online_ = true;
}

void DeviceLink::ShowOffline()
{
    online_ = false;
}

void DeviceLink::ShowStatus(const std::string& text)
{
    // The only status the link shows is a read-back given up.
    prompt_.ShowError(text);
}

DeviceLink::End DeviceLink::RunUntil(const std::function<bool()>& done, int timeoutMs)
{
    return Run(done, Clock::now() + std::chrono::milliseconds(timeoutMs), std::nullopt);
}

DeviceLink::End DeviceLink::Pump(const std::function<bool()>& done, std::optional<Clock::time_point> deadline,
                                 bool endWhenQuiet)
{
    std::optional<Clock::duration> quiet;
    if (endWhenQuiet)
        quiet = std::chrono::milliseconds(args_.timeoutMs);
    return Run(done, deadline.value_or(Clock::time_point::max()), quiet);
}

DeviceLink::End DeviceLink::Run(const std::function<bool()>& done, Clock::time_point end,
                                std::optional<Clock::duration> quiet, bool interruptible)
{
    // Ctrl+C is looked at this often while waiting.
    constexpr auto kPoll = std::chrono::milliseconds(100);
    auto quietUntil = quiet ? Clock::now() + *quiet : Clock::time_point::max();
    bool failed = false;
    while (!done()) {
        if (interruptible && Interrupted())
            return End::Interrupted;
        auto wakeAt = std::min({end, quietUntil, Clock::now() + kPoll});
        for (const auto& [timer, at] : deadlines_)
            wakeAt = std::min(wakeAt, at);
        std::deque<Notification> pending;
        {
            std::unique_lock lock(mutex_);
            arrived_.wait_until(lock, wakeAt, [&] { return !notifications_.empty(); });
            pending.swap(notifications_);
        }
        for (const auto& [message, port, argument] : pending) {
            if (message == kNotifyReceived) {
                session_->OnDeviceData(port);
                if (quiet)
                    quietUntil = Clock::now() + *quiet;
            } else if (message == kNotifyLineQuiet) {
                session_->Dispatcher().OnLineQuiet(port, static_cast<std::uint64_t>(argument));
            } else if (message == kNotifyPortFailure && port == doc_.portNumber) {
                session_->OnPortFailure();
                failed = portFailed_ = true;
            }
        }
        const auto now = Clock::now();
        for (auto it = deadlines_.begin(); it != deadlines_.end();) {
            const DeviceTimer timer = it->first;
            if (it->second > now) {
                ++it;
                continue;
            }
            it = deadlines_.erase(it);
            session_->OnTimer(timer);
        }
        if (done())
            break;
        if (failed)
            return End::PortFailed;
        if (now >= end)
            return End::Deadline;
        if (now >= quietUntil)
            return End::Quiet;
    }
    return End::Done;
}

DeviceLink::End DeviceLink::AwaitReturn(PortReturnWait& wait, std::optional<Clock::time_point> deadline)
{
    const std::string& port = args_.port;
    if (!wait.CanWait()) {
        Complain(port + " lost; it has no stable name to wait for");
        return End::PortFailed;
    }
    // Looked at before saying so, so that whoever plugs it in again on
    // reading the line is seen plugging it in.
    wait.Lost();
    Complain(port + " lost; waiting a minute for it to come back");
    // Ctrl+C is looked at this often while waiting.
    constexpr auto kPoll = std::chrono::milliseconds(100);
    const Clock::time_point end = deadline.value_or(Clock::time_point::max());
    for (;;) {
        if (Interrupted())
            return End::Interrupted;
        const auto now = Clock::now();
        if (now >= end)
            return End::Deadline;
        switch (wait.Wait(std::min(end, now + kPoll))) {
        case PortReturnWait::Result::Waiting: break;
        case PortReturnWait::Result::TooLate:
            Complain(port + " did not come back within a minute");
            return End::PortFailed;
        case PortReturnWait::Result::Returned: return Open() == ExitStatus::Done ? End::Done : End::PortFailed;
        }
    }
}

std::vector<ReportedOption> ReportedOptions(const CQuillonDoc& doc, const CatalogueTree& tree)
{
    std::vector<ReportedOption> options;
    const auto& nodes = doc.catalogue.treeNodes;
    for (const TreeNodeInfo& node : nodes) {
        if (node.level != 3 || !tree.IsValid(node.treeItem))
            continue;
        const TreeItem& item = tree.Item(node.treeItem);
        if (item.image != kImageOptionCurrent)
            continue;
        ReportedOption option{node.code, {}, node.name, std::nullopt};
        if (tree.IsValid(item.parent)) {
            const int setting = tree.Item(item.parent).data;
            if (setting >= 0 && static_cast<std::size_t>(setting) < nodes.size())
                option.setting = nodes[static_cast<std::size_t>(setting)].name;
        }
        const std::string marked = node.name + "* : ";
        if (item.text.compare(0, marked.size(), marked) == 0)
            option.value = item.text.substr(marked.size());
        options.push_back(std::move(option));
    }
    return options;
}

void PrintReportedOptions(const std::vector<ReportedOption>& options, bool json)
{
    if (!json) {
        for (const auto& o : options) {
            std::printf("%s\t%s\t%s%s%s\n", o.code.c_str(), o.setting.c_str(), o.option.c_str(), o.value ? "\t" : "",
                        o.value ? o.value->c_str() : "");
        }
        return;
    }
    Json out = Json::array();
    for (const auto& o : options)
        out.push_back({{"code", o.code},
                       {"setting", o.setting},
                       {"option", o.option},
                       {"value", o.value ? Json(*o.value) : Json(nullptr)}});
    std::printf("%s\n", out.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
}

}  // namespace quillon::cli
