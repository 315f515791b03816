#include "cli/DeviceLink.h"

#include "app/ConfigFile.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/XmlReader.h"
#include "cli/StderrPrompt.h"

#include <CLI/CLI.hpp>

#include <atomic>
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

void AddLinkOptions(CLI::App& command, LinkOptions& options)
{
    command.add_option("--port", options.port, "the port, COMn or n")
        ->type_name("P")
        ->required()
        ->transform(CLI::Validator(
            [](std::string& value) {
                if (value.rfind("COM", 0) == 0)
                    value.erase(0, 3);
                return std::string();
            },
            ""))
        ->check(CLI::Range(1, 1024));
    command.add_option("--baud", options.baud, "line speed (default 115200)")->type_name("B")->check(CLI::PositiveNumber);
    command.add_option("--timeout", options.timeoutMs, "longest silence of the device in ms (default 3000)")
        ->type_name("MS")
        ->check(CLI::PositiveNumber);
    command.add_option("--catalogue", options.catalogue, "the catalogue (default: the one the window would load)")
        ->type_name("FILE");
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
