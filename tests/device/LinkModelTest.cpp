// Random operator actions and device behaviours on the real session, its
// capture and its console, over a real pseudo-terminal with the timers
// injected; after every step the link's state must be one that can be.
//
// QUILLON_MODEL_SEED=N reruns the one sequence a failure names;
// QUILLON_MODEL_SEQUENCES sets how many run (default 2000).
#include "PtyPair.h"
#include "base/HexText.h"
#include "catalogue/CatalogueTree.h"
#include "device/DeviceCapture.h"
#include "device/DeviceSession.h"
#include "device/RestingReplyRoute.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"
#include "serial/PortLinks.h"
#include "support/RecordingPrompt.h"
#include "support/SessionSupport.h"
#include "tools/CommandInteraction.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <cstdlib>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace quillon {
namespace {

constexpr int kPort = 5;
const std::string kOnlineText = "COM5，联机";
const std::string kOfflineText = "未连接设备，脱机";
const std::string kBarcode = "ABC\r";  // 4142430d

// What the window does with the link's reports, kept as plain state: the
// information bar, the view and its boxes, and what the image dialogs would
// do.
struct ModelWindow : IDeviceHost, ICaptureHost {
    void ShowOnline(int port) override { infoText = port == kPort ? kOnlineText : "?"; }
    void ShowOffline() override
    {
        infoText = kOfflineText;
        sendToDevice = false;
        if (capture)
            capture->AbandonImage();
    }
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    ReplyRoute RestingRoute() const override
    {
        return RestingReplyRoute({view, sendToDevice, decodeOutput, imageExtract});
    }
    void MonitorChanged() override {}
    void VersionComplete() override {}
    void ResolutionArrived() override {}
    void ImageArrived() override { EndImage(); }
    void ImageRefused(const char* message) override
    {
        refusals.push_back(message);
        EndImage();
    }
    void DecodedCaptured() override {}
    // The box is cleared once the progress dialog closes, or at a refusal
    // nobody asked for; the link rests on decoded output again.
    void EndImage()
    {
        imageExtract = false;
        if (link)
            link->RestingChanged();
    }

    std::string infoText = kOfflineText;
    ViewMode view = ViewMode::Configuration;
    bool sendToDevice = false;
    bool decodeOutput = false;
    bool imageExtract = false;
    std::vector<std::string> statuses;
    std::vector<std::string> refusals;
    DeviceCapture* capture = nullptr;
    LinkState* link = nullptr;
};

struct QuietView : IInteractionView {
    void ReplyShown(const std::string&) override { ++replies; }
    void NoReply() override { ++noReplies; }
    int replies = 0;
    int noReplies = 0;
};

enum class Step {
    Connect,
    Disconnect,
    Write,
    Version,
    Image,
    ConsoleOpen,
    ConsoleSend,
    ConsoleClose,
    ViewSwitch,
    TickSendToDevice,
    TickDecodeOutput,
    TickImageExtract,
    Unplug,
    Answer,
    Silence,
    Noise,
    Split,
    Refusal,
    HidReport,
    Pause,
    Count
};

const char* Name(Step step)
{
    static const char* const names[] = {
        "connect",       "disconnect",    "write",         "version",     "image",
        "console open",  "console send",  "console close", "view switch", "tick 修改设备参数",
        "tick 解码输出", "tick 图像提取", "unplug",        "answer",      "silence",
        "noise",         "split",         "refusal",       "HID report",  "pause"};
    return names[static_cast<int>(step)];
}

class LinkModelTest : public ::testing::Test {
protected:
    LinkModelTest()
    {
        EXPECT_EQ(test::LoadSimCatalogue(doc, tree, prompt), 0);
        // Each sequence starts with the port closed and opens it to connect.
        EXPECT_TRUE(test::OpenOnPty(doc, comm, pty, kPort, sink));
        window.capture = &capture;
        window.link = &session.Link();
    }
    ~LinkModelTest() override { comm.Shutdown(); }

    LinkState& Link() { return session.Link(); }

    // What the tool wrote is read away, so the line never fills.
    void DrainToolOutput()
    {
        char chunk[4096];
        for (pollfd fd{MasterOf(), POLLIN, 0}; ::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);)
            if (::read(MasterOf(), chunk, sizeof chunk) <= 0)
                break;
    }
    int MasterOf() const { return pty.MasterFd(); }

    // The device sends `bytes`; they are handed over as one notification.
    void Send(const std::string& hex)
    {
        const auto bytes = HexToBytes(hex);
        const std::size_t before = test::Buffered(comm);
        pty.Write(std::string(bytes.begin(), bytes.end()));
        for (int i = 0; i < 20000 && test::Buffered(comm) < before + bytes.size(); ++i)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        ASSERT_GE(test::Buffered(comm), before + bytes.size());
        session.OnDeviceData(kPort);
    }

    // The device's right answer to what the route waits for.
    std::string AnswerFor(ReplyRoute route) const
    {
        switch (route) {
        case ReplyRoute::ConnectProbe: return "2410407f";
        case ReplyRoute::ReadBack: return "243040012471810000";
        case ReplyRoute::SettingWrite: return "33764200";
        case ReplyRoute::ImageData: return "61000400040000000000100102030405060708090a0b0c0d0e0f10";
        case ReplyRoute::CommandInteraction: return "55aa";
        default: return "4142430d";  // kBarcode
        }
    }

    void Act(Step step, std::mt19937& random, std::set<std::string>& allowed)
    {
        const bool consoleOpen = console.IsOpen();
        const ReplyRoute route = Link().Route();
        // Whatever the device sends as image data may be refused.
        if (route == ReplyRoute::ImageData)
            allowed.insert(kImageFormatErrorText);
        switch (step) {
        case Step::Connect:
            if (consoleOpen)
                return;
            doc.portNumber = kPort;
            doc.baudRate = 115200;
            // A failed open is the port dialog's message; it does not fail here.
            ASSERT_TRUE(OpenDevicePort(comm, doc.portNumber, doc.baudRate));
            session.BeginConnect();
            return;
        case Step::Disconnect:
            if (!consoleOpen)
                session.Disconnect();
            return;
        case Step::Write:
            // The tree sends only with "修改设备参数" ticked, from the
            // configuration view.
            if (!consoleOpen && window.sendToDevice && window.view == ViewMode::Configuration)
                session.SendSettingFrame(2, {});
            return;
        case Step::Version:
            if (!consoleOpen && Link().PortOpen())
                capture.RequestVersion();
            return;
        case Step::Image:
            if (!consoleOpen && Link().PortOpen() && window.view == ViewMode::Monitor) {
                window.imageExtract = true;
                capture.RequestImage(4, 4);
            }
            return;
        case Step::ConsoleOpen:
            if (Link().PortOpen())
                console.Open(view);
            return;
        case Step::ConsoleSend:
            if (consoleOpen)
                console.Send("55AA");
            return;
        case Step::ConsoleClose: console.Close(view); return;
        case Step::ViewSwitch:
            if (consoleOpen || !Link().PortOpen())
                return;
            if (window.view == ViewMode::Configuration) {
                window.view = ViewMode::Monitor;
                window.decodeOutput = true;
            } else {
                window.view = ViewMode::Configuration;
            }
            Link().RestingChanged();
            return;
        case Step::TickSendToDevice:
            if (!consoleOpen && Link().PortOpen() && window.view == ViewMode::Configuration) {
                window.sendToDevice = !window.sendToDevice;
                session.DiscardInput();
                Link().RestingChanged();
            }
            return;
        case Step::TickDecodeOutput:
            if (!consoleOpen && Link().PortOpen() && window.view == ViewMode::Monitor) {
                window.decodeOutput = !window.decodeOutput;
                session.DiscardInput();
                Link().RestingChanged();
            }
            return;
        case Step::TickImageExtract:
            // Left ticked without a request: what comes is taken as image data.
            if (!consoleOpen && Link().PortOpen()) {
                window.imageExtract = true;
                Link().RestingChanged();
            }
            return;
        case Step::Unplug:
            // The channel's port failure; a console dialog stays open on
            // the closed port until the operator closes it.
            if (Link().PortOpen())
                session.OnPortFailure();
            return;
        case Step::Answer:
        case Step::Split: {
            if (!Link().PortOpen())
                return;
            const std::string answer = AnswerFor(route);
            if (step == Step::Answer) {
                Send(answer);
                return;
            }
            const std::size_t cut = 2 * (1 + random() % (answer.size() / 2 - 1));
            Send(answer.substr(0, cut));
            if (Link().PortOpen())
                Send(answer.substr(cut));
            return;
        }
        case Step::Silence: {
            // The time-out of a timer that runs, or a late one of a timer
            // already stopped (its expiry was on its way).
            static constexpr DeviceTimer kTimers[] = {DeviceTimer::Connect, DeviceTimer::Interaction,
                                                      DeviceTimer::ReadBackQuiet};
            const DeviceTimer timer = kTimers[random() % 3];
            const bool running = timers.Running(timer);
            if (running && timer == DeviceTimer::Connect && !Link().Online())
                allowed.insert(kConnectFailedText);
            if (running && timer == DeviceTimer::ReadBackQuiet && Link().ReadBusy())
                allowed.insert(kReadBackStalledText);
            session.OnTimer(timer);
            return;
        }
        case Step::Noise: {
            if (!Link().PortOpen())
                return;
            // Bytes no processor takes for the start of a frame.
            std::string noise;
            for (unsigned n = 1 + random() % 6; n > 0; --n) {
                static const char digits[] = "0123456789abcdef";
                noise += '0';
                noise += digits[1 + random() % 15];
            }
            Send(noise);
            return;
        }
        case Step::Refusal:
            if (!Link().PortOpen())
                return;
            if (route == ReplyRoute::SettingWrite)
                allowed.insert(kWriteRefusedText);
            Send("33764201");
            return;
        case Step::HidReport:
            if (!Link().PortOpen())
                return;
            if (route == ReplyRoute::SettingWrite)
                allowed.insert(kLinkHidText);
            Send("22424001");
            return;
        case Step::Pause: {
            // The line has been quiet for the read interval: the channel's
            // notice of where the burst ended.
            std::uint64_t appended = 0;
            {
                std::lock_guard lock(comm.Input().Mutex());
                appended = comm.Input().Appended();
            }
            session.Dispatcher().OnLineQuiet(kPort, appended);
            return;
        }
        case Step::Count: return;
        }
    }

    // The invariants; empty when they hold.
    std::string Broken(const std::set<std::string>& allowed, std::size_t promptsBefore, std::size_t statusesBefore,
                       std::size_t refusalsBefore) const
    {
        const LinkState& link = session.Link();
        const ReplyRoute operation = link.Operation();
        if (operation == ReplyRoute::None && link.Route() != window.RestingRoute())
            return "the link rests on another route than the view's";
        if (link.PortOpen() && console.IsOpen() != (operation == ReplyRoute::CommandInteraction))
            return "the console is open but another route holds, or the other way round";
        if (link.ReadBusy() != (operation == ReplyRoute::ReadBack))
            return "readBusy outlived its read-back";
        for (const auto& [timer, ms] : timers.running) {
            const ReplyRoute owner = timer == DeviceTimer::Connect         ? ReplyRoute::ConnectProbe
                                     : timer == DeviceTimer::ReadBackQuiet ? ReplyRoute::ReadBack
                                                                           : ReplyRoute::CommandInteraction;
            if (operation != owner)
                return "a timer outlived its operation";
        }
        if (link.Online() && !(link.PortOpen() && comm.IsOpen() && doc.portNumber == kPort))
            return "online without an open port";
        if (link.PortOpen() != comm.IsOpen())
            return "the link and the channel disagree about the port";
        if (!link.PortOpen() && operation != ReplyRoute::None)
            return "an operation runs on a closed port";
        if ((window.infoText == kOnlineText) != link.Online())
            return "the information bar says " + window.infoText;
        // Only barcodes carry these letters (noise and frames never do), and
        // a record ends only where the line paused: no barcode is cut.
        for (const RsTransDataStr& record : doc.decodedLines) {
            std::string rest = record.lineText;
            for (std::size_t at; (at = rest.find(kBarcode)) != std::string::npos;)
                rest.erase(at, kBarcode.size());
            if (rest.find_first_of("AC") != std::string::npos)
                return "a barcode cut into records: " + record.lineText;
        }
        for (std::size_t i = promptsBefore; i < prompt.shown.size(); ++i)
            if (!allowed.contains(prompt.shown[i].text))
                return "a message for an action that did not fail: " + prompt.shown[i].text;
        for (std::size_t i = statusesBefore; i < window.statuses.size(); ++i)
            if (!allowed.contains(window.statuses[i]))
                return "a status for an action that did not fail: " + window.statuses[i];
        for (std::size_t i = refusalsBefore; i < window.refusals.size(); ++i)
            if (!allowed.contains(window.refusals[i]))
                return std::string("an image refused without cause: ") + window.refusals[i];
        return {};
    }

    // Runs one sequence; the first broken invariant, with the steps so far.
    std::string RunSequence(unsigned seed, int steps)
    {
        std::mt19937 random(seed);
        std::string trail;
        for (int i = 0; i < steps; ++i) {
            const auto step = static_cast<Step>(random() % static_cast<unsigned>(Step::Count));
            trail += std::string(Name(step)) + " (route " + std::to_string(static_cast<int>(Link().Route())) + "); ";
            std::set<std::string> allowed;
            const std::size_t prompts = prompt.shown.size();
            const std::size_t statuses = window.statuses.size();
            const std::size_t refusals = window.refusals.size();
            Act(step, random, allowed);
            if (::testing::Test::HasFatalFailure())
                return "the device's bytes did not arrive after " + trail;
            DrainToolOutput();
            if (std::string broken = Broken(allowed, prompts, statuses, refusals); !broken.empty())
                return broken + " after " + trail;
        }
        return {};
    }

    // Back to a window just started, between sequences.
    void StartOver()
    {
        if (console.IsOpen())
            console.Close(view);
        session.Disconnect();
        window.view = ViewMode::Configuration;
        window.sendToDevice = window.decodeOutput = window.imageExtract = false;
        session.Link().Rest();
        doc.decodedLines.clear();
        doc.monitorLines.clear();
        DrainToolOutput();
    }

    test::PortSandbox sandbox;
    test::PtyPair pty;
    test::RecordingSink sink;
    test::RecordingPrompt prompt;
    CQuillonDoc doc;
    CatalogueTree tree;
    CnComm comm;
    test::FakeDeviceTimers timers;
    ModelWindow window;
    DeviceSession session{{doc, comm, tree, timers, window, prompt}};
    DeviceCapture capture{doc, session.Frames(), session.Dispatcher(), session.Link(), window};
    CommandInteraction console{session};
    QuietView view;
};

TEST_F(LinkModelTest, EveryStepLeavesALinkThatCanBe)
{
    const char* only = std::getenv("QUILLON_MODEL_SEED");
    const char* count = std::getenv("QUILLON_MODEL_SEQUENCES");
    const unsigned first = only ? static_cast<unsigned>(std::strtoul(only, nullptr, 10)) : 1;
    const unsigned sequences = only ? 1 : count ? static_cast<unsigned>(std::strtoul(count, nullptr, 10)) : 2000;
    constexpr int kSteps = 30;
    for (unsigned seed = first; seed < first + sequences; ++seed) {
        StartOver();
        const std::string broken = RunSequence(seed, kSteps);
        ASSERT_EQ(broken, "") << "QUILLON_MODEL_SEED=" << seed << " reproduces it";
    }
}

}  // namespace
}  // namespace quillon
