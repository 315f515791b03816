#include "PtyPair.h"
#include "base/HexText.h"
#include "catalogue/CatalogueTree.h"
#include "device/DeviceSession.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"
#include "serial/PortLinks.h"
#include "support/RecordingPrompt.h"
#include "support/SessionSupport.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using Strings = std::vector<std::string>;
constexpr int kPort = 5;
// How long a check that nothing was sent listens.
constexpr int kQuietMs = 200;

struct RecordingHost : IDeviceHost {
    void ShowOnline(int port) override { events.push_back("online " + std::to_string(port)); }
    void ShowOffline() override { events.push_back("offline"); }
    void ShowStatus(const std::string& text) override { events.push_back("status " + text); }
    ReplyRoute RestingRoute() const override { return resting; }
    void MonitorChanged() override { ++monitorChanges; }
    ReplyRoute resting = ReplyRoute::SettingWrite;
    Strings events;
    int monitorChanges = 0;
};

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The session over a real pseudo-terminal, the test playing the device on
// the master side, with the simulator's catalogue loaded.
class SessionTest : public ::testing::Test {
protected:
    SessionTest()
    {
        EXPECT_EQ(test::LoadSimCatalogue(doc, tree, prompt), 0);
        EXPECT_TRUE(test::OpenOnPty(doc, comm, pty, kPort, sink));
        session.PortOpened();
    }
    ~SessionTest() override { comm.Shutdown(); }

    // The device answers; the bytes are handed over as one notification.
    void Answer(const std::string& hex, int port = kPort)
    {
        const auto bytes = HexToBytes(hex);
        pty.Write(std::string(bytes.begin(), bytes.end()));
        ASSERT_TRUE(test::WaitBuffered(comm, bytes.size()));
        session.OnDeviceData(port);
    }
    // What the tool sent, as upper-case hex.
    std::string SentHex(std::size_t bytes, int ms = 3000)
    {
        const std::string raw = pty.Read(bytes, ms);
        return Upper(ToHex(reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size()));
    }
    std::string Look(const std::string& code) const
    {
        for (const auto& node : doc.catalogue.treeNodes) {
            if (node.level == 3 && node.code == code)
                return tree.Item(node.treeItem).text + "/" + std::to_string(tree.Item(node.treeItem).image);
        }
        return "?";
    }
    void Connect()
    {
        session.BeginConnect();
        ASSERT_EQ(SentHex(3), "231040");
        Answer("2410407f");
        ASSERT_TRUE(session.Online());
        ASSERT_EQ(SentHex(24), kReadBackRequests);
    }

    int Route() const { return static_cast<int>(session.Link().Route()); }
    bool ReadBusy() const { return session.Link().ReadBusy(); }

    static constexpr const char* kReadBackRequests = "233040234141234240233186233186"
                                                     "2332C0233300237181";

    test::PortSandbox sandbox;
    test::PtyPair pty;
    test::RecordingSink sink;
    test::RecordingPrompt prompt;
    CQuillonDoc doc;
    CatalogueTree tree;
    CnComm comm;
    test::FakeDeviceTimers timers;
    RecordingHost host;
    DeviceSession session{{doc, comm, tree, timers, host, prompt}};
};

TEST_F(SessionTest, ConnectProbesThenReadsEverySettingBack)
{
    session.BeginConnect();
    EXPECT_EQ(Route(), 6);
    EXPECT_EQ(timers.running[DeviceTimer::Connect], 3000);
    EXPECT_EQ(SentHex(3), "231040");
    Answer("241041");  // three bytes are no answer yet
    EXPECT_FALSE(session.Online());
    Answer("007f");  // and the rest makes five
    EXPECT_FALSE(session.Online());
    Answer("2410407f");
    EXPECT_TRUE(session.Online());
    EXPECT_EQ(host.events, (Strings{"online 5"}));
    EXPECT_FALSE(timers.Running(DeviceTimer::Connect));
    EXPECT_TRUE(timers.Running(DeviceTimer::ReadBackQuiet));
    EXPECT_TRUE(ReadBusy());
    EXPECT_EQ(Route(), 4);
    EXPECT_EQ(SentHex(24), kReadBackRequests);

    // Replies in pieces, with junk between them.
    Answer("243040");
    Answer("01a5ff24");
    Answer("31860c002432c0000341");
    EXPECT_TRUE(ReadBusy());
    Answer("0d422471810000");
    EXPECT_EQ(Look("304001"), "On*/3");
    EXPECT_EQ(Look("304000"), "Off/2");
    EXPECT_EQ(Look("31860000"), "Choose* : CODE128/3");
    EXPECT_EQ(Look("32C000024142"), "Set prefix/2");
    EXPECT_FALSE(ReadBusy());
    EXPECT_EQ(Route(), 1);
    EXPECT_FALSE(timers.Running(DeviceTimer::ReadBackQuiet));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(SessionTest, NoAnswerInTimeDisconnectsWithTheMessage)
{
    session.BeginConnect();
    Answer("24104100");  // wrong answer
    session.OnTimer(DeviceTimer::Connect);
    EXPECT_FALSE(session.Online());
    EXPECT_EQ(doc.portNumber, 0);
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(host.events, (Strings{"offline"}));
    EXPECT_EQ(prompt.Texts(), (Strings{kConnectFailedText}));
    EXPECT_FALSE(timers.Running(DeviceTimer::Connect));
}

TEST_F(SessionTest, ATimerAfterSuccessDoesNothing)
{
    Connect();
    session.OnTimer(DeviceTimer::Connect);
    EXPECT_TRUE(session.Online());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(doc.portNumber, kPort);
}

struct WriteReplyCase {
    const char* name;
    const char* reply;
    Strings prompts;
    bool disconnected;
    bool readBack;
};

TEST_F(SessionTest, WriteRepliesEachGiveTheirReaction)
{
    const WriteReplyCase cases[] = {
        {"accepted", "33764200", {}, false, true},
        {"refused", "33764201", {kWriteRefusedText}, false, false},
        {"HID", "22424001", {kLinkHidText}, true, false},
        {"HID-POS", "22424003", {kLinkHidPosText}, true, false},
        {"baud changed", "22414100", {kBaudChangedText}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (doc.portNumber == 0) {
            doc.portNumber = kPort;
            ASSERT_TRUE(OpenDevicePort(comm, doc.portNumber, doc.baudRate));
        }
        Connect();
        Answer("2471810000");
        ASSERT_FALSE(ReadBusy());
        prompt.shown.clear();
        host.events.clear();
        doc.monitorLines.clear();

        session.SendSettingFrame(2, {});  // Beep On
        EXPECT_EQ(SentHex(4), "21304001");
        Answer(c.reply);
        EXPECT_EQ(prompt.Texts(), c.prompts);
        EXPECT_EQ(doc.portNumber == 0, c.disconnected);
        EXPECT_EQ(host.events, c.disconnected ? Strings{"offline"} : Strings{});
        EXPECT_EQ(ReadBusy(), c.readBack);
        ASSERT_EQ(doc.monitorLines.size(), 2u);
        EXPECT_EQ(doc.monitorLines[0].hexText, "21304001");
        EXPECT_EQ(doc.monitorLines[1].hexText, c.reply);
        EXPECT_EQ(doc.monitorLines[1].direction, RsComStr::kReturned);
        if (c.readBack) {
            EXPECT_EQ(Route(), 4);
            EXPECT_EQ(SentHex(24), kReadBackRequests);
            // A second read-back while the first runs sends nothing more.
            EXPECT_EQ(session.BeginReadSettings(), -2);
            EXPECT_EQ(SentHex(1, kQuietMs), "");
            Answer("2471810000");
        }
    }
}

TEST_F(SessionTest, AWriteDuringAReadBackWaitsForItsEndThenReadsBackAgain)
{
    Connect();
    session.SendSettingFrame(2, {});  // Beep On, while the settings are still read
    EXPECT_EQ(SentHex(1, kQuietMs), "");
    EXPECT_TRUE(ReadBusy());
    Answer("2471810000");
    EXPECT_EQ(SentHex(4), "21304001");
    EXPECT_FALSE(ReadBusy());
    EXPECT_EQ(Route(), 1);
    Answer("33764200");
    EXPECT_EQ(SentHex(24), kReadBackRequests);
    Answer("2471810000");
    EXPECT_FALSE(ReadBusy());
    EXPECT_FALSE(timers.Running(DeviceTimer::ReadBackQuiet));
    EXPECT_EQ(host.events, (Strings{"online 5"}));
    EXPECT_TRUE(prompt.shown.empty());
    // One left waiting when the link goes is dropped with it.
    ASSERT_EQ(session.BeginReadSettings(), 1);
    ASSERT_EQ(SentHex(24), kReadBackRequests);
    session.SendSettingFrame(2, {});
    session.Disconnect();
    EXPECT_EQ(SentHex(1, kQuietMs), "");
}

TEST_F(SessionTest, ASettingTooLongIsRefusedAndNothingSent)
{
    Connect();
    Answer("2471810000");
    session.SendSettingFrame(2, {std::string(1030, 'A'), 1030, 1, ""});
    EXPECT_EQ(prompt.Texts(), (Strings{kSettingTooLongText}));
    EXPECT_EQ(SentHex(1, kQuietMs), "");
    EXPECT_TRUE(doc.monitorLines.empty());
}

TEST_F(SessionTest, DisconnectEndsAStalledReadBackAndAReconnectReadsAgain)
{
    Connect();
    EXPECT_TRUE(ReadBusy());
    session.Disconnect();
    EXPECT_FALSE(ReadBusy());
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(host.events, (Strings{"online 5", "offline"}));
    session.Disconnect();  // without a port: nothing more
    EXPECT_EQ(host.events.size(), 2u);

    doc.portNumber = kPort;
    ASSERT_TRUE(OpenDevicePort(comm, doc.portNumber, doc.baudRate));
    Connect();  // the read-back requests go out again
    EXPECT_TRUE(ReadBusy());
}

TEST_F(SessionTest, ConnectingAgainWhileOnlineStartsFromOffline)
{
    Connect();
    session.BeginConnect();
    EXPECT_FALSE(session.Online());
    EXPECT_EQ(host.events, (Strings{"online 5", "offline"}));
    EXPECT_FALSE(ReadBusy());
    EXPECT_EQ(SentHex(3), "231040");
    session.OnTimer(DeviceTimer::Connect);
    EXPECT_EQ(prompt.Texts(), (Strings{kConnectFailedText}));
}

TEST_F(SessionTest, AQuietReadBackEndsAndSaysSo)
{
    Connect();
    Answer("24304001");
    EXPECT_TRUE(timers.Running(DeviceTimer::ReadBackQuiet));
    session.OnTimer(DeviceTimer::ReadBackQuiet);
    EXPECT_FALSE(ReadBusy());
    EXPECT_EQ(Route(), 1);
    EXPECT_EQ(host.events.back(), std::string("status ") + kReadBackStalledText);
    // Once ended, a late time-out says nothing more.
    session.OnTimer(DeviceTimer::ReadBackQuiet);
    EXPECT_EQ(host.events.size(), 2u);
}

TEST_F(SessionTest, StalePortsAndUnroutedInput)
{
    Connect();
    // A notification for another port leaves the bytes where they are.
    Answer("24304001", kPort + 1);
    EXPECT_EQ(test::Buffered(comm), 4u);
    EXPECT_EQ(Look("304001"), "On/2");
    session.OnDeviceData(kPort);
    EXPECT_EQ(Look("304001"), "On*/3");
    // With no route, input is dropped.
    Answer("2471810000");
    host.resting = ReplyRoute::None;
    Answer("24304000");
    EXPECT_EQ(test::Buffered(comm), 0u);
    EXPECT_EQ(Look("304000"), "Off/2");
    // Discarding drops input and what a processor was holding.
    ASSERT_EQ(session.BeginReadSettings(), 1);
    ASSERT_EQ(SentHex(24), kReadBackRequests);
    Answer("2430");
    pty.Write(std::string("\x40\x00", 2));
    ASSERT_TRUE(test::WaitBuffered(comm, 2));
    session.DiscardInput();
    EXPECT_EQ(test::Buffered(comm), 0u);
    Answer("24304000");
    EXPECT_EQ(Look("304000"), "Off*/3");
}

TEST_F(SessionTest, PortFailureDisconnectsSilently)
{
    Connect();
    session.OnPortFailure();
    EXPECT_EQ(doc.portNumber, 0);
    EXPECT_FALSE(session.Online());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(SessionTest, FirmwareRunsWithThePortClosedThenItReopens)
{
    Connect();
    bool closedDuring = false;
    session.RunWithPortClosed([&] { closedDuring = !comm.IsOpen(); });
    EXPECT_TRUE(closedDuring);
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(comm.PortNumber(), kPort);
    EXPECT_EQ(doc.portNumber, kPort);
    EXPECT_TRUE(session.Online());
    Answer("24304001");  // the line works again
    EXPECT_EQ(Look("304001"), "On*/3");
}

}  // namespace
}  // namespace quillon
