#include "base/HexText.h"
#include "device/ConnectProbeProcessor.h"
#include "device/DeviceCapture.h"
#include "device/FrameBuilder.h"
#include "device/FrameWriter.h"
#include "device/LinkState.h"
#include "device/ReadBackProcessor.h"
#include "device/ReplyDispatcher.h"
#include "device/SettingWriteProcessor.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "support/SessionSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quillon {
namespace {

using Strings = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;
Bytes HexBytes(const std::string& hex)
{
    return HexToBytes(hex);
}

// Everything the processors report, in order, as short texts.
struct Recorder : ISettingWriteOutcome, IReadBackOutcome {
    void ReplyReceived(std::string_view frame) override { events.push_back("log " + std::string(frame)); }
    void WriteAccepted() override { events.push_back("accepted"); }
    void WriteRefused() override { events.push_back("refused"); }
    void LinkChanged(LinkReport report) override
    {
        const char* names[] = {"hid", "hid-pos", "baud"};
        events.push_back(names[static_cast<int>(report)]);
    }
    void DeviceSetting(std::string_view frame, int kind) override
    {
        events.push_back("show " + std::string(frame) + " " + std::to_string(kind));
    }
    void ReadBackProgress() override { ++progress; }
    void ReadBackEnded() override { events.push_back("end"); }

    Strings events;
    int progress = 0;
};

// Feeds the hex text in pieces of the given sizes (the last size repeats).
void FeedSplit(IReplyProcessor& processor, const std::string& hex, std::vector<std::size_t> splits)
{
    const Bytes bytes = HexBytes(hex);
    std::size_t at = 0;
    for (std::size_t i = 0; at < bytes.size(); ++i) {
        const std::size_t n = std::min(splits[std::min(i, splits.size() - 1)], bytes.size() - at);
        processor.Feed(bytes.data() + at, n);
        at += n;
    }
}

struct WriteCase {
    const char* name;
    const char* input;
    Strings events;
};

TEST(SettingWriteProcessor, RepliesInEverySplit)
{
    const WriteCase cases[] = {
        {"accepted", "33764200", {"log 33764200", "accepted"}},
        {"refused", "33764201", {"log 33764201", "refused"}},
        {"baud rate changed, any new speed", "22414105", {"log 22414105", "baud"}},
        {"baud rate changed", "22414100", {"log 22414100", "baud"}},
        {"HID", "22424001", {"log 22424001", "hid"}},
        {"HID with a byte after it", "2242400100", {"log 22424001", "hid"}},
        {"HID-POS", "22424003", {"log 22424003", "hid-pos"}},
        {"a bare reply shows in the tree", "221205", {"log 221205", "show 221205 6"}},
        {"a one-byte reply with 00", "22304000", {"log 22304000", "show 22304000 8"}},
        {"two-byte form starts a read-back", "2231860005", {"log 2231860005", "accepted"}},
        {"counted form starts a read-back", "2232c0000141", {"log 2232c0000141", "accepted"}},
        {"another class is dropped whole", "2431860005", {}},
        {"too short to judge", "3376", {}},
        {"a short reply does not eat the next",
         "22120533764200",
         {"log 221205", "show 221205 6", "log 33764200", "accepted"}},
        {"a trailing byte does not turn acceptance into refusal", "3376420001", {"log 33764200", "accepted"}},
    };
    for (const auto& c : cases) {
        for (const std::size_t split : {1, 2, 3, 1000}) {
            Recorder recorder;
            SettingWriteProcessor processor(recorder);
            FeedSplit(processor, c.input, {split});
            EXPECT_EQ(recorder.events, c.events) << c.name << ", split " << split;
        }
    }
}

TEST(SettingWriteProcessor, ResetForgetsAPartialReply)
{
    Recorder recorder;
    SettingWriteProcessor processor(recorder);
    FeedSplit(processor, "337642", {6});
    processor.Reset();
    FeedSplit(processor, "33764201", {8});
    EXPECT_EQ(recorder.events, (Strings{"log 33764201", "refused"}));
}

struct ReadCase {
    const char* name;
    const char* input;
    Strings events;
};

TEST(ReadBackProcessor, FramesGarbageAndTheEnd)
{
    const ReadCase cases[] = {
        {"one of each form then the end",
         "24304001"
         "243186000c"
         "2432c00003410d42"
         "241205"
         "2471810000",
         {"show 24304001 8", "show 243186000c 10", "show 2432c00003410d42 11", "show 241205 6", "show 2471810000 10",
          "end"}},
        {"garbage before a frame is skipped a byte at a time", "a55aff0024304001", {"show 24304001 8"}},
        {"a byte that looks like a start is taken as one", "2424304001", {"show 242430 6"}},
        {"a counted frame with no data", "2432c00000", {"show 2432c00000 11"}},
        {"an incomplete counted frame waits", "2432c0ffff4142", {}},
    };
    for (const auto& c : cases) {
        for (const std::size_t split : {1, 2, 5, 1000}) {
            Recorder recorder;
            ReadBackProcessor processor(recorder);
            FeedSplit(processor, c.input, {split});
            EXPECT_EQ(recorder.events, c.events) << c.name << ", split " << split;
            EXPECT_GT(recorder.progress, 0);
        }
    }
}

TEST(ReadBackProcessor, NoiseAndRandomSplitsNeverLoseAFrame)
{
    std::mt19937 random(7);
    std::string input;
    Strings expected;
    for (int i = 0; i < 300; ++i) {
        input += "a5ff";  // noise with no 0x24 in it
        char frame[16];
        std::snprintf(frame, sizeof frame, "2430%02x%02x", 0x40, i & 0xFF);
        input += frame;
        expected.push_back("show " + std::string(frame) + " 8");
    }
    input += "2471810000";
    expected.push_back("show 2471810000 10");
    expected.push_back("end");
    Recorder recorder;
    ReadBackProcessor processor(recorder);
    const Bytes bytes = HexBytes(input);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min<std::size_t>(random() % 40 + 1, bytes.size() - at);
        processor.Feed(bytes.data() + at, n);
        at += n;
    }
    EXPECT_EQ(recorder.events, expected);
}

struct ProbeCase {
    const char* name;
    Strings notifications;  // hex of each notification's bytes
    bool answered;
};

TEST(ConnectProbeProcessor, TheAnswerAnywhereInTheStream)
{
    const ProbeCase cases[] = {
        {"the answer", {"2410407f"}, true},
        {"any fourth byte", {"24104000"}, true},
        {"three bytes alone", {"241040"}, false},
        {"a fifth byte", {"2410407f00"}, true},
        {"a wrong answer", {"24104100"}, false},
        {"a wrong answer then the right one", {"24104100", "2410407f"}, true},
        {"split over two notifications", {"2410", "407f"}, true},
        {"split, then more", {"241040", "7f00"}, true},
        {"a stray byte first", {"002410407f"}, true},
        {"a stray byte, then the answer in pieces", {"0024", "10", "407f"}, true},
        {"a false start inside", {"241024", "10407f"}, true},
        {"the key of another setting", {"2410417f", "10407f"}, false},
        {"a chatty device", {std::string(20000, 'a'), "2410407f"}, true},
    };
    for (const auto& c : cases) {
        int answers = 0;
        ConnectProbeProcessor processor([&] { ++answers; });
        for (const std::string& hex : c.notifications) {
            FeedSplit(processor, hex, {3});
            processor.EndOfNotification();
        }
        EXPECT_EQ(answers, c.answered ? 1 : 0) << c.name;
    }
}

// The capture routes behind the dispatcher, fed as the channel's worker
// would: bytes into the receive buffer, a notification, and once the line
// has been quiet for the read interval, the notice of where the burst ended.
struct CaptureLine : ICaptureHost, IFrameWriter {
    void VersionComplete() override {}
    void ResolutionArrived() override {}
    void ImageArrived() override {}
    void ImageRefused(const char* message) override { refusals.push_back(message); }
    void DecodedCaptured() override {}
    void Write(const std::uint8_t*, std::size_t) override {}

    void Buffer(const Bytes& bytes)
    {
        std::lock_guard lock(comm.Input().Mutex());
        comm.Input().Append(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }
    void Arrive(const Bytes& bytes)
    {
        Buffer(bytes);
        dispatcher.OnDeviceData(doc.portNumber);
    }
    std::uint64_t Appended()
    {
        std::lock_guard lock(comm.Input().Mutex());
        return comm.Input().Appended();
    }
    void Quiet() { dispatcher.OnLineQuiet(doc.portNumber, Appended()); }
    void Open(int port)
    {
        doc.portNumber = port;
        link.PortOpened(port);
    }
    Strings Records() const
    {
        Strings texts;
        for (const RsTransDataStr& line : doc.decodedLines)
            texts.push_back(line.lineText);
        return texts;
    }

    CQuillonDoc doc;
    CnComm comm;
    test::FakeDeviceTimers timers;
    ReplyRoute resting = ReplyRoute::None;
    LinkState link{timers, [this] { return resting; }};
    FrameBuilder frames{doc.catalogue, doc.monitorLines, *this};
    ReplyDispatcher dispatcher{comm, link};
    Strings refusals;
    DeviceCapture capture{doc, frames, dispatcher, link, *this};
};

TEST(ReplyDispatcher, ARefusedImageIsDroppedToItsEndWhateverTheRouteThen)
{
    CaptureLine line;
    line.Open(1);
    line.capture.RequestImage(1024, 1024);
    Bytes image = HexBytes("6104000400000000100000");  // 1024 x 1024: past the receive area
    image.resize(4000, 0x31);
    line.Arrive(image);
    EXPECT_EQ(line.refusals, Strings{kImageTooLargeText});
    // The progress closes and the monitor view rests on the decoded output
    // while the device goes on sending the image.
    EXPECT_EQ(line.link.Operation(), ReplyRoute::None);
    line.resting = ReplyRoute::DecodedOutput;
    line.Arrive(Bytes(5000, 0x32));
    line.Quiet();
    EXPECT_EQ(line.Records(), Strings{});
    line.Arrive(Bytes{'6', '9', '0'});
    line.Arrive(Bytes{'1', '2'});
    line.Quiet();
    EXPECT_EQ(line.Records(), Strings{"69012"});

    // A header first taken at the quiet notice (it came with no notification
    // of its own) is refused there, and the next burst is not dropped.
    line.capture.RequestImage(1024, 1024);
    line.Buffer(image);
    line.Quiet();
    EXPECT_EQ(line.refusals.size(), 2u);
    EXPECT_EQ(line.link.Route(), ReplyRoute::DecodedOutput);
    line.Arrive(Bytes{'7'});
    line.Quiet();
    EXPECT_EQ(line.Records(), (Strings{"69012", "7"}));
}

TEST(ReplyDispatcher, ALateQuietNoticeCutsTheRecordWhereTheLinePaused)
{
    CaptureLine line;
    line.Open(1);
    line.resting = ReplyRoute::DecodedOutput;
    line.Arrive(Bytes{'A', 'B'});
    const std::uint64_t pause = line.Appended();
    // The next burst was already fed when the notice of the pause is handled.
    line.Arrive(Bytes{'C', 'D'});
    line.dispatcher.OnLineQuiet(1, pause);
    line.dispatcher.OnLineQuiet(2, pause + 2);  // another port's: nothing
    line.Quiet();
    EXPECT_EQ(line.Records(), (Strings{"AB", "CD"}));
}

}  // namespace
}  // namespace quillon
