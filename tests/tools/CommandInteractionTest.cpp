// The command interaction over a real pseudo-terminal, the test playing the
// device on the master side: what goes on the wire, what the log says, and
// where replies go while it is open and after.
#include "tools/CommandInteraction.h"
#include "catalogue/CatalogueTree.h"
#include "support/RecordingPrompt.h"
#include "support/SessionSupport.h"
#include "tools/TypedCommand.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

constexpr int kPort = 6;
// How long a check that nothing was sent listens.
constexpr int kQuietMs = 200;

// What a dialog would have been told.
struct RecordingView : IInteractionView {
    void ReplyShown(const std::string& log) override { shown.push_back(log); }
    void NoReply() override { ++noReplies; }
    std::vector<std::string> shown;
    int noReplies = 0;
};

class CommandInteractionTest : public ::testing::Test {
protected:
    CommandInteractionTest()
    {
        EXPECT_TRUE(test::OpenOnPty(doc, comm, pty, kPort, sink));
        session.PortOpened();
    }
    int Route() const { return static_cast<int>(session.Link().Route()); }
    ~CommandInteractionTest() override { comm.Shutdown(); }

    // The device sends these bytes; they are handed over as one notification.
    void Answer(const std::string& bytes, int port = kPort)
    {
        pty.Write(bytes);
        ASSERT_TRUE(test::WaitBuffered(comm, bytes.size()));
        session.OnDeviceData(port);
    }

    test::PortSandbox sandbox;
    test::PtyPair pty;
    test::RecordingSink sink;
    test::RecordingPrompt prompt;
    CQuillonDoc doc;
    CatalogueTree tree;
    CnComm comm;
    test::FakeDeviceTimers timers;
    test::QuietDeviceHost host;
    DeviceSession session{{doc, comm, tree, timers, host, prompt}};
    CommandInteraction interaction{session};
    RecordingView view;
};

TEST_F(CommandInteractionTest, ACommandAndItsReplyMakeTheLog)
{
    interaction.Open(view);
    EXPECT_EQ(Route(), 7);

    ASSERT_TRUE(interaction.Send("55AA01"));
    EXPECT_EQ(pty.Read(3), "\x55\xAA\x01");
    EXPECT_EQ(interaction.Log(), "-> 0x55 0xAA 0x01 \r\n<- ");
    EXPECT_EQ(timers.running[DeviceTimer::Interaction], 3600000);
    // The view shows a command together with its reply.
    EXPECT_TRUE(view.shown.empty());

    Answer("\x55\xAA");
    EXPECT_EQ(interaction.Log(), "-> 0x55 0xAA 0x01 \r\n<- 0x55 0xaa ");
    EXPECT_EQ(view.shown, std::vector<std::string>{interaction.Log()});

    ASSERT_TRUE(interaction.Send("0a0B"));
    EXPECT_EQ(pty.Read(2), "\x0a\x0b");
    Answer(std::string("\x00\xff\x10", 3));
    EXPECT_EQ(interaction.Log(), "-> 0x55 0xAA 0x01 \r\n<- 0x55 0xaa \r\n-> 0x0a 0x0B \r\n<- 0x00 0xff 0x10 ");

    // A reply in two bursts is two additions; "清除" starts the log afresh.
    Answer("\x01");
    Answer("\x02");
    EXPECT_TRUE(interaction.Log().ends_with("<- 0x00 0xff 0x10 0x01 0x02 "));
    EXPECT_EQ(view.shown.size(), 4u);
    interaction.Clear();
    ASSERT_TRUE(interaction.Send("99"));
    EXPECT_EQ(interaction.Log(), "-> 0x99 \r\n<- ");
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(CommandInteractionTest, TypedCharactersGoOutAsPairsAndShowAsTyped)
{
    const struct {
        const char* typed;
        std::string wire;
        const char* shown;  // nullptr: refused, nothing logged or sent
    } cases[] = {
        {"aBcD", "\xab\xcd", "0xaB 0xcD "},
        {"55 AA ", "\x55\xff\xff", "0x55 0x A 0xA  "},
        {"zz0g", "\xff\xff", "0xzz 0x0g "},
        {"0-+1", "\xff\xff", "0x0- 0x+1 "},
        {"中文AB", "\xff\xab", "0x中文 0xAB "},
        {"A中", "\xff", "0xA中 "},
        {"", "", ""},  // logged and waited for, though nothing goes out
        {"55AA0", "", nullptr},
        {"55 AA", "", nullptr},
        {"AB中", "", nullptr},
    };
    interaction.Open(view);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        interaction.Clear();
        timers.running.clear();
        EXPECT_EQ(interaction.Send(c.typed), c.shown != nullptr);
        EXPECT_EQ(pty.Read(c.wire.size()), c.wire);
        EXPECT_EQ(interaction.Log(), c.shown ? std::string("-> ") + c.shown + "\r\n<- " : "");
        EXPECT_EQ(timers.Running(DeviceTimer::Interaction), c.shown != nullptr);
    }
    EXPECT_EQ(pty.Read(1, kQuietMs), "");
}

TEST_F(CommandInteractionTest, TimerTwoReportsOnlyACommandLeftWithoutReply)
{
    interaction.Open(view);
    ASSERT_TRUE(interaction.Send("55AA01"));
    session.OnTimer(DeviceTimer::Interaction);
    EXPECT_EQ(view.noReplies, 1);
    EXPECT_EQ(interaction.Log(), "-> 0x55 0xAA 0x01 \r\n<- ");
    EXPECT_FALSE(timers.Running(DeviceTimer::Interaction));

    // Answered before the timer: the expiry says nothing.
    ASSERT_TRUE(interaction.Send("01"));
    Answer("\x7f");
    session.OnTimer(DeviceTimer::Interaction);
    EXPECT_EQ(view.noReplies, 1);
    // The next command waits for a reply of its own.
    ASSERT_TRUE(interaction.Send("02"));
    session.OnTimer(DeviceTimer::Interaction);
    EXPECT_EQ(view.noReplies, 2);
}

TEST_F(CommandInteractionTest, ClosingRestsTheRouteAndForgetsTheLog)
{
    interaction.Open(view);
    ASSERT_TRUE(interaction.Send("55AA01"));
    Answer("\x55");
    RecordingView other;
    interaction.Close(other);  // not the one that opened it
    EXPECT_EQ(Route(), 7);

    interaction.Close(view);
    EXPECT_EQ(Route(), 1);
    EXPECT_EQ(interaction.Log(), "");
    EXPECT_FALSE(interaction.IsOpen());
    // A reply still due is nobody's concern any more.
    EXPECT_FALSE(timers.Running(DeviceTimer::Interaction));
    session.OnTimer(DeviceTimer::Interaction);
    EXPECT_EQ(view.noReplies, 0);
    // Replies go back to the setting-write processor: a refusal is its message.
    const std::size_t shown = view.shown.size();
    Answer("\x33\x76\x42\x01");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{kWriteRefusedText});
    EXPECT_EQ(view.shown.size(), shown);
    EXPECT_EQ(interaction.Log(), "");
}

TEST_F(CommandInteractionTest, OpenedDuringAReadBackItHearsEveryReplyUntilClosed)
{
    ASSERT_EQ(session.BeginReadSettings(), 1);
    pty.Read(4096, kQuietMs);  // the read requests
    interaction.Open(view);
    EXPECT_EQ(Route(), 7);
    EXPECT_FALSE(session.Link().ReadBusy());
    EXPECT_FALSE(timers.Running(DeviceTimer::ReadBackQuiet));
    // The read-back's quiet time-out, late: it ended when the console opened.
    session.OnTimer(DeviceTimer::ReadBackQuiet);
    EXPECT_EQ(Route(), 7);
    ASSERT_TRUE(interaction.Send("55"));
    EXPECT_EQ(pty.Read(1), "\x55");
    Answer("\x66");
    EXPECT_EQ(view.shown, std::vector<std::string>{"-> 0x55 \r\n<- 0x66 "});
    interaction.Close(view);
    EXPECT_EQ(Route(), 1);
}

}  // namespace
}  // namespace quillon
