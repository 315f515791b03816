#include "cli/DeviceLink.h"

#include "app/ConfigFile.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/XmlReader.h"
#include "cli/StderrPrompt.h"

#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <utility>

namespace quillon::cli {

namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int)
{
    interrupted = true;
}

}  // namespace

std::optional<long long> ParseNumber(const std::string& text, long long low, long long high)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::string ParseLinkOptions(const std::vector<std::string>& args, LinkOptions& options,
                             std::vector<std::string>& rest)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool known = arg == "--port" || arg == "--baud" || arg == "--timeout" || arg == "--catalogue";
        if (!known) {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size())
            return arg + " wants a value";
        const std::string& value = args[++i];
        if (arg == "--catalogue") {
            options.catalogue = value;
        } else if (arg == "--port") {
            const std::string digits = value.rfind("COM", 0) == 0 ? value.substr(3) : value;
            const auto port = ParseNumber(digits, 1, 1024);
            if (!port)
                return "--port wants COMn or n (1 to 1024)";
            options.port = static_cast<int>(*port);
        } else {
            const auto number = ParseNumber(value, 1, 100000000);
            if (!number)
                return arg + " wants a positive number";
            (arg == "--baud" ? options.baud : options.timeoutMs) = static_cast<int>(*number);
        }
    }
    return options.port > 0 ? std::string() : std::string("--port is required");
}

DeviceLink::DeviceLink(const LinkOptions& options) : options_(options)
{
    comm.SetOptions(comm.Options() | kCommReceiveBuffer);
    comm.SetNotificationSink(this);
}

DeviceLink::~DeviceLink()
{
    comm.Shutdown();
}

int DeviceLink::Open()
{
    CXmlReader reader;
    StderrPrompt prompt;
    const std::string path =
        options_.catalogue.empty() ? CataloguePath(ReadCatalogueName()) : options_.catalogue;
    if (CatalogueLoader(reader, doc.catalogue, tree_, prompt).LoadCatalogue(path) != 0)
        return kExitDevice;
    if (!comm.OpenByNumber(options_.port, options_.baud)) {
        std::fprintf(stderr, "quillon-cli: COM%d could not be opened\n", options_.port);
        return kExitNoPort;
    }
    doc.portNumber = options_.port;
    doc.baudRate = options_.baud;
    std::signal(SIGINT, OnInterrupt);
    return 0;
}

void DeviceLink::OnCommNotify(unsigned message, int, long)
{
    if (message != kNotifyReceived && message != kNotifyPortFailure)
        return;
    {
        std::lock_guard lock(mutex_);
        (message == kNotifyReceived ? received_ : failed_) = true;
    }
    wake_.notify_one();
}

DeviceLink::End DeviceLink::Pump(const std::function<bool()>& done, std::optional<Clock::time_point> deadline,
                                 bool endWhenQuiet)
{
    const auto quiet = std::chrono::milliseconds(options_.timeoutMs);
    auto quietUntil = Clock::now() + quiet;
    // Ctrl+C is looked at this often while waiting.
    constexpr auto kPoll = std::chrono::milliseconds(100);
    while (!done()) {
        if (interrupted)
            return End::Interrupted;
        const auto now = Clock::now();
        if (deadline && now >= *deadline)
            return End::Deadline;
        if (endWhenQuiet && now >= quietUntil)
            return End::Quiet;
        bool received = false;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, kPoll, [this] { return received_ || failed_; });
            if (failed_)
                return End::PortFailed;
            received = std::exchange(received_, false);
        }
        if (received) {
            dispatcher.OnDeviceData(doc.portNumber);
            quietUntil = Clock::now() + quiet;
        }
    }
    return End::Done;
}

}  // namespace quillon::cli
