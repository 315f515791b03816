// libFuzzer target for the reply path: any bytes from the device, in any
// split, on any route, for the open port or a stale one, must never crash,
// hang, grow without bound or leave the tree or the link in a state that
// cannot be.  Built and run by scripts/fuzz with
// -fsanitize=fuzzer,address,undefined; tests/device runs the same body over
// fixed and random inputs.
//
// Every route has its processor: connect probe, setting writes, read-back,
// version, resolution, image data, decoded output and the command
// interaction.
//
// Input: byte 0 picks the starting route, byte 1 seeds the split sizes; the
// rest is what the device sends.  A chunk size of 0 from the seed marks a
// notification for another port; after some chunks the line goes quiet, its
// notice handled a little late (some bytes of the next burst already fed).
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>

#include "base/Prompt.h"
#include "catalogue/CatalogueTree.h"
#include "device/DeviceCapture.h"
#include "device/DeviceSession.h"
#include "device/ReplyDispatcher.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "tools/CommandInteraction.h"

namespace {

using namespace quillon;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct QuietTimers : IDeviceTimers {
    void Start(DeviceTimer, int) override {}
    void Stop(DeviceTimer) override {}
};

struct QuietHost : IDeviceHost {
    void ShowOnline(int) override {}
    void ShowOffline() override {}
    void ShowStatus(const std::string&) override {}
    ReplyRoute RestingRoute() const override { return resting; }
    void MonitorChanged() override {}
    ReplyRoute resting = ReplyRoute::SettingWrite;
};

struct QuietCapture : ICaptureHost {
    void VersionComplete() override {}
    void ResolutionArrived() override {}
    void ImageArrived() override {}
    void ImageRefused(const char*) override {}
    void DecodedCaptured() override {}
};

struct QuietView : IInteractionView {
    void ReplyShown(const std::string&) override {}
    void NoReply() override {}
};

struct QuietPrompt : IPrompt {
    void ShowError(const std::string&) override {}
    void ShowInfo(const std::string&) override {}
    bool AskOkCancel(const std::string&) override { return true; }
};

// One link with a small catalogue whose keys the fuzzer meets easily.
struct Link {
    Link()
    {
        doc.catalogue.connectReadCmds = {{"probe", "1040", "", 1}};
        for (const char* key : {"3040", "3186", "32C0", "6182", "7181", "2424"}) {
            TreeNodeInfo setting;
            setting.level = 2;
            setting.name = key;
            setting.pidFid = key;
            setting.cmdType = "21";
            setting.treeItem = tree.InsertItem(key, 4, 5, kNoTreeItem);
            doc.catalogue.treeNodes.push_back(setting);
            for (const char* tail : {"00", "01", "0000"}) {
                TreeNodeInfo option;
                option.level = 3;
                option.name = std::string(key) + tail;
                option.code = option.name;
                option.cmdType = "21";
                option.treeItem = tree.InsertItem(option.name, 2, 2, setting.treeItem);
                doc.catalogue.treeNodes.push_back(option);
            }
        }
    }

    CQuillonDoc doc;
    CatalogueTree tree;
    CnComm comm;
    QuietTimers timers;
    QuietHost host;
    QuietPrompt prompt;
    DeviceSession session{{doc, comm, tree, timers, host, prompt}};
    QuietCapture captureHost;
    DeviceCapture capture{doc, session.Frames(), session.Dispatcher(), session.Link(), captureHost};
    CommandInteraction interaction{session};
    QuietView view;
};

constexpr int kRoutes[] = {-1, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9};
constexpr int kPort = 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Link* link = new Link;
    if (size < 2)
        return 0;
    const std::size_t treeSize = link->tree.Size();
    LinkState& state = link->session.Link();
    link->doc.portNumber = kPort;
    link->doc.monitorLines.clear();
    link->doc.decodedLines.clear();
    state.PortOpened(kPort);
    // The resting routes rest; the others are operations begun.
    const auto route = static_cast<ReplyRoute>(kRoutes[data[0] % (sizeof kRoutes / sizeof kRoutes[0])]);
    const bool resting =
        route == ReplyRoute::None || route == ReplyRoute::SettingWrite || route == ReplyRoute::DecodedOutput;
    link->host.resting = resting ? route : ReplyRoute::SettingWrite;
    if (route == ReplyRoute::CommandInteraction)
        link->interaction.Open(link->view);
    else if (!resting)
        state.Begin(route);
    link->session.DiscardInput();
    std::uint32_t seed = data[1] * 2654435761u + 1;
    BlockBuffer& input = link->comm.Input();

    for (std::size_t at = 2; at < size;) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t chunk = (seed >> 16) % 97;
        const bool stale = chunk == 0;
        const std::size_t n = std::min(size - at, stale ? std::size_t{7} : chunk);
        {
            std::lock_guard lock(input.Mutex());
            input.Append(data + at, static_cast<std::uint32_t>(n));
        }
        at += n;
        link->session.OnDeviceData(stale ? kPort + 1 : kPort);
        if (seed % 5 == 0) {
            std::uint64_t appended;
            {
                std::lock_guard lock(input.Mutex());
                appended = input.Appended();
            }
            link->session.Dispatcher().OnLineQuiet(kPort, appended - std::min<std::uint64_t>(appended, seed % 9));
        }
        if (!state.PortOpen()) {
            // A disconnect: the device comes back.
            Check(!state.Online() && state.Operation() == ReplyRoute::None);
            link->doc.portNumber = kPort;
            state.PortOpened(kPort);
        }
        Check(state.ReadBusy() == (state.Route() == ReplyRoute::ReadBack));
        Check(link->tree.Size() == treeSize);
        Check(link->doc.monitorLines.size() <= size);
        Check(link->doc.decodedLines.size() <= size);
        Check(link->doc.image.pixels.size() <= ImageDataProcessor::kAreaSize);
    }
    link->interaction.Close(link->view);
    // Once the line has gone quiet, whatever was being dropped has ended and
    // what the device sends next is taken.
    link->session.Dispatcher().OnLineQuiet(kPort, ~std::uint64_t{0});
    link->session.DiscardInput();
    link->host.resting = ReplyRoute::DecodedOutput;
    state.Rest();
    {
        std::lock_guard lock(input.Mutex());
        input.Append("Z", 1);
    }
    link->session.OnDeviceData(kPort);
    link->session.Dispatcher().OnLineQuiet(kPort, ~std::uint64_t{0});
    Check(!link->doc.decodedLines.empty() && link->doc.decodedLines.back().lineText == "Z");
    // Whatever stayed buffered belongs to a stale port or a route that keeps
    // it; a discard always empties the buffer.
    link->session.DiscardInput();
    std::lock_guard lock(input.Mutex());
    Check(input.Total() == 0);
    return 0;
}
