#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "serial/CnComm.h"
#include "serial/PortDiscovery.h"
#include "serial/PortLinks.h"
#include "serial/PortMap.h"
#include "serial/PtyPair.h"
#include "support/ProgramRun.h"

namespace quillon::test {
namespace {

TEST(PortRulesTest, NumberFromFriendlyName)
{
    const struct {
        const char* name;
        int number;  // 0: skipped
    } cases[] = {
        {"USB Serial Port (COM3)", 3},
        {"Prolific USB-to-Serial Comm Port (COM12)", 12},
        {"(COM1)", 1},
        {"Port (COM1024)", 1024},
        {"Port (COM 7)", 7},  // the number may follow blanks
        {"Port (COM7", 7},    // no ")" to cut at
        {"Port (COM0)", 0},
        {"Port (COM1025)", 0},
        {"Port (COM-2)", 0},
        {"Port (COMx)", 0},
        {"Port COM3", 0},  // no "(COM"
        {"Printer Port (LPT1)", 0},
        {"Bridge (v2) (COM4)", 0},  // first "(" is not the one before COM
        {"Odd) name (COM5)", 0},    // cut at the first ")" leaves no "(COM"
        {"", 0},
    };
    for (const auto& c : cases) {
        const auto number = PortNumberFromFriendlyName(c.name);
        EXPECT_EQ(number.value_or(0), c.number) << c.name;
    }
}

// What ports --json says of each port, and how a port named by its USB
// serial number or its device is found.
TEST(PortRulesTest, DescriptionsIdentitiesAndSerialNumbers)
{
    const std::vector<HardwarePort> hardware = {
        {"/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", "/dev/ttyUSB7", "FTDI FT232R USB UART", "A1"},
        {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0", "/dev/ttyUSB8", "Prolific PL2303", ""},
        {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:3:1.0", "/dev/ttyACM3", "Maker Scanner", "SN42"},
    };
    const std::vector<PortEntry> ports = {
        {3, "/dev/ttyUSB7", "FTDI FT232R USB UART (COM3)"},
        {4, "/dev/ttyUSB8", "Prolific PL2303 (COM4)"},
        {5, "/dev/ttyACM3", "Maker Scanner (COM5)"},
        {9, "/dev/pts/4", "/dev/pts/4 (COM9)"},
    };
    const struct {
        const char* description;
        const char* identity;
    } expected[] = {
        {"FTDI FT232R USB UART", "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0"},
        {"Prolific PL2303", ""},    // by its socket only: nothing that follows it
        {"Maker Scanner", "SN42"},  // no by-id link, but a serial number
        {"", ""},                   // a link
    };
    const std::vector<PortDescription> described = DescribePorts(ports, hardware);
    ASSERT_EQ(described.size(), std::size(expected));
    for (std::size_t i = 0; i < described.size(); ++i) {
        EXPECT_EQ(described[i].number, ports[i].number);
        EXPECT_EQ(described[i].devicePath, ports[i].devicePath);
        EXPECT_EQ(described[i].description, expected[i].description) << i;
        EXPECT_EQ(described[i].identity, expected[i].identity) << i;
    }
    const struct {
        const char* name;
        const char* found;  // "" for none
    } lookups[] = {
        {"SN42", "/dev/ttyACM3"}, {"A1", "/dev/ttyUSB7"}, {"/dev/ttyUSB8", "/dev/ttyUSB8"}, {"ZZ", ""}, {"", ""}};
    for (const auto& lookup : lookups) {
        const auto port = FindHardwarePort(hardware, lookup.name);
        EXPECT_EQ(port ? port->devicePath : "", lookup.found) << lookup.name;
    }
}

TEST(PortRulesTest, SelectionIsAscendingNumericDistinctAndAtMostTwenty)
{
    std::vector<PortCandidate> candidates = {
        {"/dev/a", "Adapter (COM12)"},    {"/dev/b", "No number here"}, {"/dev/c", "Adapter (COM1)"},
        {"/dev/d", "Bridge (v2) (COM4)"}, {"/dev/e", "Again (COM12)"},
    };
    auto ports = SelectPorts(candidates);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].number, 1);
    EXPECT_EQ(ports[0].devicePath, "/dev/c");
    EXPECT_EQ(ports[1].number, 12);
    EXPECT_EQ(ports[1].devicePath, "/dev/a");

    candidates.clear();
    for (int n = 30; n >= 1; --n)
        candidates.push_back({"/dev/p" + std::to_string(n), "P (COM" + std::to_string(n) + ")"});
    ports = SelectPorts(candidates);
    ASSERT_EQ(ports.size(), 20u);
    // The first twenty in enumeration order, then sorted.
    EXPECT_EQ(ports.front().number, 11);
    EXPECT_EQ(ports.back().number, 30);
    EXPECT_TRUE(
        std::is_sorted(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; }));

    EXPECT_TRUE(SelectPorts({}).empty());
}

TEST(PortMapTest, NumbersAreKeptAndNewDevicesGetTheLowestFree)
{
    PortSandbox sandbox;
    const std::string file = CPortMap::DefaultFile();
    EXPECT_EQ(file, (sandbox.Dir().Path() / "config" / "quillon" / "ports.ini").string());
    {
        CPortMap map;
        map.Load();
        EXPECT_FALSE(map.Changed());
        EXPECT_EQ(map.Assign("/dev/serial/by-id/usb-A-if00", {}), 1);
        EXPECT_EQ(map.Assign("/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0", {2, 3}), 4);
        EXPECT_EQ(map.Assign("/dev/serial/by-id/usb-A-if00", {1}), 1);
        EXPECT_TRUE(map.Changed());
        ASSERT_TRUE(map.Save());
    }
    CPortMap reread;
    reread.Load();
    EXPECT_EQ(reread.NumberOf("/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0"), 4);
    EXPECT_EQ(reread.IdentityOf(1), "/dev/serial/by-id/usb-A-if00");
    EXPECT_EQ(reread.Assign("/dev/ttyS0", {}), 2);
    EXPECT_FALSE(reread.IdentityOf(3).has_value());
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"ports.ini"});
}

TEST(PortMapTest, BadLinesAreSkipped)
{
    PortSandbox sandbox;
    sandbox.Dir().Write("config/quillon/ports.ini",
                        "[ports]\n0 = /dev/zero\n1025 = /dev/x\nabc = /dev/y\n5 = /dev/ttyUSB9\n"
                        "[other]\n6 = /dev/z\n");
    CPortMap map;
    map.Load();
    EXPECT_EQ(map.IdentityOf(5), "/dev/ttyUSB9");
    for (int absent : {0, 6, 1025})
        EXPECT_FALSE(map.IdentityOf(absent).has_value()) << absent;
    EXPECT_EQ(map.Assign("/dev/new", {}), 1);
}

// Lines printed by `quillon-cli ports`, each with its line end.
std::vector<std::string> CliPortLines()
{
    const ProgramRun run = RunProgram(QUILLON_CLI " ports");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = run.out.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(run.out.substr(at, end + 1 - at));
    return lines;
}

TEST(PortDiscoveryTest, LinksAreDiscoveredNamedResolvedAndListedByTheCli)
{
    PortSandbox sandbox;
    PtyPair first, second;
    ASSERT_TRUE(PublishPortLink(250, first.SlavePath()));
    ASSERT_TRUE(PublishPortLink(249, second.SlavePath()));
    const std::string odd = sandbox.Dir().Write("odd(1)/device", "");
    ASSERT_TRUE(PublishPortLink(300, odd));  // brackets must not hide it
    std::filesystem::create_symlink("/dev/null", std::filesystem::path(PortLinkFolder()) / "COM07");
    std::filesystem::create_symlink("/dev/null", std::filesystem::path(PortLinkFolder()) / "notes");

    std::map<int, PortEntry> linked;
    for (const auto& port : DiscoverPorts())
        linked[port.number] = port;
    EXPECT_FALSE(linked.count(7));
    ASSERT_TRUE(linked.count(249) && linked.count(250) && linked.count(300));
    EXPECT_EQ(linked[250].devicePath, first.SlavePath());
    EXPECT_EQ(linked[250].friendlyName, first.SlavePath() + " (COM250)");
    EXPECT_EQ(linked[300].friendlyName, (sandbox.Dir().Path() / "odd[1]/device (COM300)").string());

    const auto names = ListPortNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "COM249"), names.end());
    EXPECT_EQ(ResolvePortPath(250), first.SlavePath());

    const auto lines = CliPortLines();
    const std::string expected = "COM250\t" + first.SlavePath() + "\t" + first.SlavePath() + " (COM250)\n";
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end());
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [&](auto& l) { return l.rfind("COM300\t" + odd + "\t", 0) == 0; }),
        1);
}

// The simulator publishes absolute links; a person may write relative ones,
// which the kernel reads from the link's folder whatever the current folder.
// A link to a line that is gone is no port.
TEST(PortDiscoveryTest, RelativeLinksCountFromTheirFolderAndDeadLinksAreNoPorts)
{
    PortSandbox sandbox;
    PtyPair line;
    const auto folder = std::filesystem::path(PortLinkFolder());
    const std::string device = sandbox.Dir().Write("dev/scanner", "");
    ASSERT_TRUE(PublishPortLink(60, "../dev/scanner"));
    ASSERT_TRUE(PublishPortLink(61, std::filesystem::relative(line.SlavePath(), folder).string()));
    ASSERT_TRUE(PublishPortLink(62, (sandbox.Dir().Path() / "dev/gone").string()));
    ASSERT_TRUE(PublishPortLink(63, "gone"));

    std::map<int, std::string> listed;
    for (const auto& port : DiscoverPorts())
        listed[port.number] = port.devicePath;
    EXPECT_EQ(listed[60], device);
    EXPECT_EQ(listed[61], line.SlavePath());
    for (int dead : {62, 63}) {
        EXPECT_FALSE(listed.count(dead)) << dead;
        EXPECT_FALSE(ResolvePortPath(dead).has_value()) << dead;
    }
    const auto names = ListPortNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "COM62") + std::count(names.begin(), names.end(), "COM63"), 0);
    std::set<std::string> printed;
    for (const auto& text : CliPortLines())
        printed.insert(text.substr(0, text.find('\t')));
    EXPECT_TRUE(printed.count("COM60") && printed.count("COM61"));
    EXPECT_FALSE(printed.count("COM62") || printed.count("COM63"));

    // The channel opens the line through the relative link.
    CnComm comm;
    ASSERT_TRUE(comm.OpenByNumber(61, 115200));
    EXPECT_EQ(comm.DevicePath(), line.SlavePath());
    EXPECT_TRUE(line.Exclusive());
}

TEST(PortDiscoveryTest, ALinkWinsOverTheMapAndAbsentDevicesDoNotResolve)
{
    PortSandbox sandbox;
    const std::string present = sandbox.Dir().Write("dev/scanner", "");
    sandbox.Dir().Write("config/quillon/ports.ini", "[ports]\n3 = " + present + "\n4 = /dev/serial/by-id/gone\n");
    EXPECT_EQ(ResolvePortPath(3), present);
    EXPECT_FALSE(ResolvePortPath(4).has_value());
    EXPECT_FALSE(ResolvePortPath(5).has_value());
    ASSERT_TRUE(PublishPortLink(3, "/dev/null"));
    EXPECT_EQ(ResolvePortPath(3), "/dev/null");
}

}  // namespace
}  // namespace quillon::test
