#include "cli/DeviceLink.h"

#include "catalogue/CatalogueLoader.h"
#include "catalogue/XmlReader.h"
#include "app/ConfigLocation.h"
#include "serial/PortLinks.h"
#include "serial/PortProblem.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <nlohmann/json.hpp>
#include <cstring>
#include <cstdio>
#include <cctype>

namespace quillon::cli {

namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int)
{
    interrupted = true;
}

std::string OpenFailure(int error)
{
    switch (error) {
    case ENOENT: case ENXIO: case ENODEV: return "no such port";
    case EACCES: case EPERM: return "permission denied";
    case EBUSY: return "in use by another program";
    default: return std::strerror(error);
    }
}

}  // namespace

DeviceLink::DeviceLink(const PortArgs& args, std::shared_ptr<const PortTargets> ports, std::size_t portIndex)
    : args_(args), ports_(std::move(ports)), portIndex_(portIndex)
{
    comm_.SetOptions(comm_.Options() | kCommReceiveBuffer);
    comm_.SetNotificationSink(this);
    session_ = std::make_unique<DeviceSession>(
        DeviceSession::Parts{doc_, comm_, tree_, *this, *this, prompt_});
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
    if (CatalogueLoader(reader, doc_.catalogue, tree_, prompt_).LoadCatalogue(catalogue) != 0) {
        std::fprintf(stderr, "quillon-cli: cannot load the catalogue %s\n", catalogue.c_str());
        return false;
    }
    return true;
}

void DeviceLink::UseCatalogue(const CatalogueLists& catalogue, const CatalogueTree& tree)
{
    doc_.catalogue = catalogue;
    tree_ = tree;
}

int DeviceLink::LoadAndOpen()
{
    return LoadCatalogue() ? Open() : kExitDevice;
}

int DeviceLink::Open()
{
    if (!ports_)
        ports_ = std::make_shared<const PortTargets>(std::vector<std::string>{args_.port});
    const PortTargets::Target& target = (*ports_)[portIndex_];
    doc_.portNumber = target.number;
    doc_.baudRate = args_.baud;
    if (target.path && comm_.OpenByNumber(target.number, args_.baud)) {
        session_->PortOpened();
        return 0;
    }
    const int error = target.path ? comm_.LastOpenError() : ENOENT;
    doc_.portNumber = 0;
    prompt_.ShowError("quillon-cli: cannot open " + args_.port + ": " + OpenFailure(error) + "\n" +
                      ExplainPortProblem(GatherPortFacts(target.path.value_or(args_.port), error)));
    return 3;
}

int DeviceLink::OpenAndConnect(bool readBack)
{
    if (const int status = Open(); status != 0)
        return status;
    if (const int status = Connect(); status != 0)
        return status;
    return readBack ? FinishReadBack() : 0;
}

int DeviceLink::Connect()
{
    session_->BeginConnect();
    const bool answered = RunUntil([&] { return online_ || doc_.portNumber == 0; }, args_.timeoutMs + 1000);
    if (!answered || !online_) {
        if (!MessageShown())
            prompt_.ShowError(kConnectFailedText);
        return 1;
    }
    return 0;
}

int DeviceLink::FinishReadBack()
{
    return RunUntil([&] { return !session_->Link().ReadBusy(); }, args_.timeoutMs * 10) && !MessageShown() ? 0 : 1;
}

int DeviceLink::Write(int recordIndex, const ValueTriple& value)
{
    const std::size_t logged = doc_.monitorLines.size();
    session_->SendSettingFrame(recordIndex, value);
    if (MessageShown())
        return 1;
    // The reply is the line logged after the frame sent.
    if (!RunUntil([&] { return doc_.monitorLines.size() > logged + 1 || MessageShown() || doc_.portNumber == 0; },
                  args_.timeoutMs)) {
        prompt_.ShowError("quillon-cli: no reply to the setting within " + std::to_string(args_.timeoutMs) + " ms");
        return 1;
    }
    if (MessageShown() || doc_.portNumber == 0)
        return 1;
    return FinishReadBack();
}

int DeviceLink::ReadBack()
{
    if (session_->BeginReadSettings() != 1)
        return 1;
    return FinishReadBack();
}

std::string DeviceLink::StateText() const
{
    if (!online_)
        return {};
    return ComNumber(args_.port) ? PortName(doc_.portNumber) + "，联机" : args_.port;
}

void DeviceLink::OnCommNotify(unsigned message, int port, long)
{
    std::lock_guard lock(mutex_);
    notifications_.emplace_back(message, port);
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

bool DeviceLink::RunUntil(const std::function<bool()>& done, int timeoutMs)
{
    return Run(done, Clock::now() + std::chrono::milliseconds(timeoutMs), std::nullopt) == End::Done;
}

DeviceLink::End DeviceLink::Pump(const std::function<bool()>& done, std::optional<Clock::time_point> deadline,
                                 bool endWhenQuiet)
{
    // A capture without a count or deadline ends with Ctrl+C: stop waiting
    // instead of dying, so that what came is still printed and saved.
    std::signal(SIGINT, OnInterrupt);
    std::optional<Clock::duration> quiet;
    if (endWhenQuiet)
        quiet = std::chrono::milliseconds(args_.timeoutMs);
    return Run(done, deadline.value_or(Clock::time_point::max()), quiet);
}

DeviceLink::End DeviceLink::Run(const std::function<bool()>& done, Clock::time_point end,
                                std::optional<Clock::duration> quiet)
{
    // Ctrl+C is looked at this often while waiting.
    constexpr auto kPoll = std::chrono::milliseconds(100);
    auto quietUntil = quiet ? Clock::now() + *quiet : Clock::time_point::max();
    bool failed = false;
    while (!done()) {
        if (interrupted)
            return End::Interrupted;
        auto wakeAt = std::min({end, quietUntil, Clock::now() + kPoll});
        for (const auto& [timer, at] : deadlines_)
            wakeAt = std::min(wakeAt, at);
        std::deque<std::pair<unsigned, int>> pending;
        {
            std::unique_lock lock(mutex_);
            arrived_.wait_until(lock, wakeAt, [&] { return !notifications_.empty(); });
            pending.swap(notifications_);
        }
        for (const auto& [message, port] : pending) {
            if (message == kNotifyReceived) {
                session_->OnDeviceData(port);
                if (quiet)
                    quietUntil = Clock::now() + *quiet;
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
    const char* port = args_.port.c_str();
    if (!wait.CanWait()) {
        std::fprintf(stderr, "quillon-cli: %s lost; it has no stable name to wait for\n", port);
        return End::PortFailed;
    }
    // Looked at before saying so, so that whoever plugs it in again on
    // reading the line is seen plugging it in.
    wait.Lost();
    std::fprintf(stderr, "quillon-cli: %s lost; waiting a minute for it to come back\n", port);
    // Ctrl+C is looked at this often while waiting.
    constexpr auto kPoll = std::chrono::milliseconds(100);
    const Clock::time_point end = deadline.value_or(Clock::time_point::max());
    for (;;) {
        if (interrupted)
            return End::Interrupted;
        const auto now = Clock::now();
        if (now >= end)
            return End::Deadline;
        switch (wait.Wait(std::min(end, now + kPoll))) {
        case PortReturnWait::Result::Waiting: break;
        case PortReturnWait::Result::TooLate:
            std::fprintf(stderr, "quillon-cli: %s did not come back within a minute\n", port);
            return End::PortFailed;
        case PortReturnWait::Result::Returned:
            return Open() == 0 ? End::Done : End::PortFailed;
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
    using Json = nlohmann::ordered_json;
    Json out = Json::array();
    for (const auto& o : options)
        out.push_back({{"code", o.code}, {"setting", o.setting}, {"option", o.option},
                       {"value", o.value ? Json(*o.value) : Json(nullptr)}});
    std::printf("%s\n", out.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
}

}  // namespace quillon::cli
