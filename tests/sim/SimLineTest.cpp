// quillon-sim as the tool meets it: a child process behind a COM link, bytes
// in and bytes out over a real pseudo-terminal.
#include "sim/DeviceIdentity.h"
#include "sim/SimProcess.h"
#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace quillon::test {
namespace {

struct Exchange {
    const char* name;
    std::vector<std::string> sent;  // each one write; a frame may be split over several
    std::string expected;
};

// Requests for C1 to C8 in one write, and their answers in order.
std::pair<std::string, std::string> AllInformation()
{
    const sim::DeviceIdentity identity;
    std::string request, expected;
    for (std::uint8_t field = 0xC1; field <= 0xC8; ++field) {
        const std::string text = identity.Text(field);
        request += HexText({0x43, 0x02, field});
        expected += field == 0xC3 ? "4402C3000402800"
                                    "1E0"
                                  : HexText({0x44, 0x02, field, 0x00, std::uint8_t(text.size())}) +
                                        HexText(Bytes(text.begin(), text.end()));
    }
    return {request, expected};
}

TEST(SimLineTest, AnswersEachRequestByteForByte)
{
    const auto [infoRequest, infoReply] = AllInformation();
    const std::vector<Exchange> exchanges{
        {"probe", {"231040"}, "24104001"},
        {"junk before a request",
         {"55AA01"
          "231040"},
         "24104001"},
        // Reads of one-byte, two-byte and counted values sent at once; the
        // closing key's answer comes last.
        {"read-back",
         {"233040"
          "237181"
          "233186"
          "2332C0"},
         "24304001"
         "2431860000"
         "2432C000024142"
         "2471810000"},
        {"starts at the option marked factory default", {"234141"}, "24414103"},
        {"read a setting without a value", {"233300"}, "243300"},
        {"read an unknown key", {"235555"}, ""},
        {"write one byte", {"21304000"}, "33764200"},
        {"read it back", {"233040"}, "24304000"},
        {"loader erase", {"327702"}, "3377020000"},
        {"the erase restored it", {"233040"}, "24304001"},
        {"write two bytes", {"213186", "000C"}, "33764200"},
        {"read them back", {"233186"}, "243186000C"},
        {"write counted", {"2132C0000341", "4243"}, "33764200"},
        {"read counted back", {"2332C0"}, "2432C00003414243"},
        {"write unknown setting", {"21555501"}, "33764201"},
        {"write link mode HID", {"21424001"}, "22424001"},
        {"write baud rate", {"21414104"}, "22414104"},
        {"information C1 to C8", {infoRequest}, infoReply},
        {"unknown information field", {"4302C9"}, ""},
        // Row stride is the width asked for: pixel (x, y) is x + 2y.
        {"small image",
         {"60000300020000"},
         "6100030002"
         "000000000006"
         "000102"
         "020304"},
        {"loader handshake", {"327703"}, "3377030000"},
    };
    SimProcess sim;
    for (const auto& exchange : exchanges) {
        for (const auto& part : exchange.sent)
            sim.Send(HexBytes(part));
        const std::size_t size = exchange.expected.size() / 2;
        const Bytes got = size ? sim.Read(size) : sim.ReadUntilQuiet(300ms);
        EXPECT_EQ(HexText(got), exchange.expected) << exchange.name;
        // Nothing more than the expected reply.
        EXPECT_EQ(HexText(sim.ReadUntilQuiet(50ms)), "") << exchange.name;
    }
}

TEST(SimLineTest, CameraResolutionIsAnOptionAndLargerRequestsAreClamped)
{
    SimProcess sim({"--resolution", "320x240"});
    sim.Send(HexBytes("4302C3"));
    EXPECT_EQ(HexText(sim.Read(9)), "4402C300040140"
                                    "00F0");
    sim.Send(HexBytes("60FFFFFFFF0000"));
    const Bytes image = sim.Read(11 + 320 * 240);
    ASSERT_EQ(image.size(), 11u + 320 * 240);
    EXPECT_EQ(HexText(Bytes(image.begin(), image.begin() + 11)), "610140"
                                                                 "00F00000"
                                                                 "00012C00");
    for (unsigned y = 0; y < 240; y += 37)
        for (unsigned x = 0; x < 320; x += 13)
            ASSERT_EQ(image[11 + y * 320 + x], std::uint8_t(x + 2 * y)) << x << "," << y;
}

TEST(SimLineTest, ScannedTextsGoOutUnframedInTheChosenEncoding)
{
    SimProcess sim;
    sim.Command("scan 你好");
    EXPECT_EQ(HexText(sim.Read(4)), "C4E3BAC3");
    sim.Command("encoding utf8");
    sim.Command("scan 你好 A1");
    EXPECT_EQ(HexText(sim.Read(9)), "E4BDA0E5A5BD204131");
    sim.Command("scanhex 41 00 42");
    EXPECT_EQ(HexText(sim.Read(3)), "410042");
}

TEST(SimLineTest, WhatIsSentWhileNoOneListensIsLostAndQuitEnds)
{
    SimProcess sim;
    sim.Command("flood 1");
    EXPECT_EQ(sim.Read(1000).size(), 1000u);  // noise is arriving
    sim.ClosePort();
    EXPECT_NE(sim.WaitForLine("COM9 closed"), "");
    sim.Command("scan LOST");
    EXPECT_NE(sim.WaitForLine("scanned"), "");
    sim.OpenPort();
    EXPECT_NE(sim.WaitForLine("COM9 opened"), "");
    EXPECT_EQ(HexText(sim.ReadUntilQuiet(300ms)), "");
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(4)), "24104001");
    sim.Command("quit");
    EXPECT_NE(sim.WaitForLine("bye"), "");
    EXPECT_TRUE(sim.WaitForHangUp(5s));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.LinkPath())));
}

TEST(SimLineTest, ControlFifoTakesTheSameCommandsAndInterruptCleansUp)
{
    TempDir fifoDir;
    const std::string fifo = (fifoDir.Path() / "control").string();
    SimProcess sim({"--control", fifo});
    const int fd = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const std::string line = "scan ABC\nfault garbage 2\n";
    ASSERT_EQ(write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    close(fd);
    EXPECT_EQ(HexText(sim.Read(3)), "414243");
    EXPECT_NE(sim.WaitForLine("armed: garbage(2)"), "");
    // Published while it runs; link and FIFO gone after Ctrl+C.
    EXPECT_EQ(std::filesystem::read_symlink(sim.LinkPath()).string(), sim.DevicePath());
    EXPECT_EQ(sim.DevicePath().rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.LinkPath())));
    EXPECT_FALSE(std::filesystem::exists(fifo));
}

TEST(SimLineTest, BytesGoBothWaysAtTheLineSpeed)
{
    SimProcess sim({"--baud", "48000"}, true);  // 4,800 bytes a second
    auto start = std::chrono::steady_clock::now();
    sim.Send(HexBytes("60003C00400000"));  // 60 x 64 = 3,840 pixels + 11
    EXPECT_EQ(sim.Read(3851).size(), 3851u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 700ms);

    sim.Send(HexBytes("327703"));
    ASSERT_EQ(HexText(sim.Read(5)), "3377030000");
    start = std::chrono::steady_clock::now();
    sim.Send(Bytes(4800, 0xFF));  // a raw image: one second on the line
    EXPECT_EQ(HexText(sim.Read(1)), "38");
    // A second to take it in, then the quiet that ends an image.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1500ms);
}

// The closing frame of a read-back asked for first: held, it still comes
// last; without a hold it is answered in turn.
TEST(SimLineTest, ReadBackHoldDecidesWhereTheClosingFrameComes)
{
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{},
         "24304001"
         "2471810000"},
        {{"--read-back-hold", "0"},
         "2471810000"
         "24304001"},
    };
    for (const auto& c : cases) {
        SimProcess sim(c.args);
        sim.Send(HexBytes("237181"
                          "233040"));
        EXPECT_EQ(HexText(sim.Read(c.expected.size() / 2)), c.expected) << c.args.size();
    }
}

TEST(SimLineTest, HelpDescribesOptionsCommandsAndFaults)
{
    const ProgramRun run = RunProgram(QUILLON_SIM_BINARY " --help");
    ASSERT_EQ(run.exitCode, 0);
    const std::string& help = run.out;
    for (const char* word : {"--com",     "--catalogue",    "--baud",        "--no-pace",       "--read-back-hold",
                             "--control", "--firmware-out", "--fault",       "scan TEXT",       "unplug",
                             "quit",      "flood",          "silent-probe",  "wrong-probe",     "stray-probe",
                             "hid-pos",   "baud-changed",   "write-error",   "no-readback-end", "firmware-fail",
                             "bursts",    "garbage",        "record-answer", "late-loader",     "short-erase"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace quillon::test
