#include <gtest/gtest.h>

#include <poll.h>

#include <set>

#include "serial/HotplugRules.h"
#include "serial/LinkFolderWatch.h"
#include "serial/PortLinks.h"
#include "serial/PtyPair.h"
#include "support/TempDir.h"

namespace quillon::test {
namespace {

using namespace std::chrono_literals;
using Clock = HotplugRules::Clock;

constexpr const char* kScannerId = "/dev/serial/by-id/usb-Acme_Barcode_Scanner_S123456-if00";
constexpr const char* kOtherId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

// Events as udev's monitor reports them (`udevadm monitor --udev --property`),
// cut down to what the rules read.
UdevEvent Scanner(const char* action, const char* node = "/dev/ttyACM0")
{
    return {action, node, {kScannerId, "/dev/serial/by-path/pci-0000:00:14.0-usb-0:3:1.0"}};
}
UdevEvent Other(const char* action)
{
    return {action, "/dev/ttyUSB0", {kOtherId, "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0"}};
}

struct Step {
    UdevEvent event;  // action "" : the operator disconnects instead
    int seconds;      // since the start
    bool listChanged;
    std::optional<int> vanished, returned;
};

TEST(HotplugRulesTest, RecordedEventsDecideWhatTheWindowHears)
{
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"unplugged, back under another node within a minute",
         {{Scanner("remove"), 0, true, 5, {}}, {Scanner("add", "/dev/ttyACM1"), 20, true, {}, 5}}},
        {"back after exactly a minute", {{Scanner("remove"), 0, true, 5, {}}, {Scanner("add"), 60, true, {}, 5}}},
        {"back too late", {{Scanner("remove"), 0, true, 5, {}}, {Scanner("add"), 61, true, {}, {}}}},
        {"a different device is no return",
         {{Scanner("remove"), 0, true, 5, {}}, {Other("add"), 5, true, {}, {}}, {Scanner("add"), 9, true, {}, 5}}},
        {"another device going changes only the list", {{Other("remove"), 0, true, {}, {}}}},
        {"attribute changes and binds change nothing",
         {{Scanner("change"), 0, false, {}, {}},
          {Scanner("bind"), 1, false, {}, {}},
          {{"add", "", {}}, 2, false, {}, {}}}},
        {"disconnected by the operator first",
         {{{"", "", {}}, 0, false, {}, {}}, {Scanner("remove"), 1, true, {}, {}}, {Scanner("add"), 2, true, {}, {}}}},
        {"offered once",
         {{Scanner("remove"), 0, true, 5, {}},
          {Scanner("add"), 1, true, {}, 5},
          {Scanner("remove"), 2, true, {}, {}},
          {Scanner("add"), 3, true, {}, {}}}},
        {"a late event forgets the device",
         {{Scanner("remove"), 0, true, 5, {}}, {Other("add"), 70, true, {}, {}}, {Scanner("add"), 75, true, {}, {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::set<std::string> present{"/dev/ttyACM0", kScannerId, "/dev/ttyUSB0", kOtherId};
        HotplugRules rules([&present](const std::string& path) { return present.contains(path); });
        rules.Connected(5, kScannerId);
        const auto start = Clock::time_point{} + 1h;
        for (const auto& step : c.steps) {
            SCOPED_TRACE(step.event.action + " " + step.event.node + " at " + std::to_string(step.seconds));
            if (step.event.action.empty()) {
                rules.Disconnected();
                continue;
            }
            for (const auto& name : step.event.links) {
                if (step.event.action == "add")
                    present.insert(name);
                else if (step.event.action == "remove")
                    present.erase(name);
            }
            const auto outcome = rules.Consider(step.event, start + std::chrono::seconds(step.seconds));
            EXPECT_EQ(outcome.portListChanged, step.listChanged);
            EXPECT_EQ(outcome.vanished, step.vanished);
            EXPECT_EQ(outcome.returned, step.returned);
        }
    }
}

TEST(HotplugRulesTest, AnEmptyIdentityIsNotWatched)
{
    HotplugRules rules([](const std::string&) { return false; });
    rules.Connected(3, "");
    EXPECT_EQ(rules.Recheck(Clock::now()).vanished, std::nullopt);
}

TEST(HotplugRulesTest, IdentityIsTheLinkElseThePortMapEntry)
{
    PortSandbox sandbox;
    sandbox.Dir().Write("config/quillon/ports.ini", std::string("[ports]\n3 = ") + kScannerId + "\n");
    PtyPair pty;
    ASSERT_TRUE(PublishPortLink(4, pty.SlavePath()));
    ASSERT_TRUE(PublishPortLink(3, pty.SlavePath()));
    const std::string links = sandbox.Dir().Path() / "links";
    const struct {
        int number;
        std::string identity;
    } cases[] = {{3, links + "/COM3"}, {4, links + "/COM4"}, {5, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(PortIdentity(c.number), c.identity) << c.number;
    RemovePortLink(3);
    EXPECT_EQ(PortIdentity(3), kScannerId);
}

// Waits for the watch to see a change; false when none came (a bound, not a
// pace: inotify reports at once).
bool Changed(LinkFolderWatch& watch)
{
    pollfd fd{watch.Fd(), POLLIN, 0};
    return ::poll(&fd, 1, 5000) == 1 && watch.Drain();
}

// The stand-in for unplugging a scanner: the pseudo-terminal behind COM9
// ends, and a new one is published under the same link.
TEST(HotplugRulesTest, APtyGoneAndBackUnderTheSameLink)
{
    PortSandbox sandbox;
    LinkFolderWatch watch;
    ASSERT_GE(watch.Fd(), 0);
    HotplugRules rules([](const std::string& path) {
        std::error_code error;
        return std::filesystem::exists(path, error);
    });
    const auto start = Clock::now();
    for (const auto& [name, returnAfter, offered] :
         {std::tuple{"back in time", 30s, true}, {"back too late", 90s, false}}) {
        SCOPED_TRACE(name);
        auto first = std::make_unique<PtyPair>();
        ASSERT_TRUE(PublishPortLink(9, first->SlavePath()));
        ASSERT_TRUE(Changed(watch));
        rules.Connected(9, PortIdentity(9));
        EXPECT_EQ(rules.Recheck(start).vanished, std::nullopt);

        first.reset();  // the line ends; its link is left dangling
        ASSERT_TRUE(Changed(watch));
        EXPECT_EQ(rules.Recheck(start + 1s).vanished, 9);

        PtyPair second;
        ASSERT_TRUE(PublishPortLink(9, second.SlavePath()));
        ASSERT_TRUE(Changed(watch));
        EXPECT_EQ(rules.Recheck(start + returnAfter).returned, offered ? std::optional(9) : std::nullopt);
    }
}

}  // namespace
}  // namespace quillon::test
