#include <gtest/gtest.h>

#include <climits>

#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"
#include "serial/PtyPair.h"
#include "serial/RsParaSetRules.h"
#include "support/PortEntries.h"
#include "support/RecordingPrompt.h"

namespace quillon::test {
namespace {

class RsParaSetRulesTest : public ::testing::Test {
protected:
    CRsParaSetRules Rules(std::vector<int> ports = {})
    {
        return CRsParaSetRules(doc, comm, prompt, [ports] { return UsbPortsNumbered(ports); });
    }

    PortSandbox sandbox;
    PtyPair pty;
    CQuillonDoc doc;
    CnComm comm;
    RecordingPrompt prompt;
};

TEST_F(RsParaSetRulesTest, ListsTheirItemsSelectionsAndStates)
{
    const auto content = Rules({1, 3, 12}).Content();
    const struct {
        const ComboContent& combo;
        std::vector<std::string> items;
        std::string selected;
        bool open;  // editable and enabled
    } lists[] = {
        {content.port, {"COM1", "COM3", "COM12"}, "COM1", true},
        {content.baud,
         {"460800", "256000", "230400", "128000", "115200", "57600", "38400", "19200", "9600", "4800"},
         "115200",
         true},
        {content.dataBits, {"5", "6", "7", "8"}, "8", false},
        {content.stopBits, {"0", "1", "2"}, "1", false},
        {content.parity, {"None", "Odd", "Even"}, "None", false},
    };
    for (const auto& l : lists) {
        EXPECT_EQ(l.combo.items, l.items);
        ASSERT_GE(l.combo.selected, 0);
        EXPECT_EQ(l.combo.items[size_t(l.combo.selected)], l.selected);
        EXPECT_EQ(l.combo.enabled, l.open) << l.selected;
        EXPECT_EQ(l.combo.editable, l.open) << l.selected;
    }
    EXPECT_TRUE(Rules().Content().port.items.empty());
    EXPECT_EQ(Rules().Content().port.selected, -1);
}

TEST_F(RsParaSetRulesTest, APortListRefreshedWhileOpenKeepsTheOperatorsText)
{
    const struct {
        std::vector<int> present;
        const char* current;
        int selected;
    } cases[] = {
        {{1, 3, 12}, "COM3", 1},  // still there: still chosen
        {{1, 12}, "COM3", -1},    // unplugged: the text stays, nothing chosen
        {{1, 12}, "COM5", -1},    // typed by the operator
        {{1, 12}, "", 0},         // nothing chosen yet: the first, as on opening
        {{}, "", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        const auto ports = Rules(c.present).PortsKeeping(c.current);
        EXPECT_EQ(ports.items.size(), c.present.size());
        EXPECT_EQ(ports.selected, c.selected);
        EXPECT_TRUE(ports.editable && ports.enabled);
    }
}

TEST_F(RsParaSetRulesTest, TextsReadAsNumbers)
{
    const struct {
        const char* text;
        int number;
    } numbers[] = {{"115200", 115200},
                   {"  9600", 9600},
                   {"12ab", 12},
                   {"abc", 0},
                   {"", 0},
                   {"None", 0},
                   {"Odd", 0},
                   {"-5", -5},
                   {"+7", 7},
                   {"99999999999", INT_MAX},
                   {"-99999999999", INT_MIN}};
    for (const auto& n : numbers)
        EXPECT_EQ(CRsParaSetRules::ParseNumber(n.text), n.number) << n.text;

    const struct {
        const char* text;
        int number;
    } ports[] = {{"COM7", 7}, {"COM12", 12}, {"com3", 3},      {"COM", 0},     {"CO", 0},
                 {"", 0},     {"COMx5", 0},  {"XYZ42abc", 42}, {"端口号5", 5}, {"COM 9", 9}};
    for (const auto& p : ports)
        EXPECT_EQ(CRsParaSetRules::ParsePort(p.text), p.number) << p.text;
}

TEST_F(RsParaSetRulesTest, ConnectStoresTheNumbersAndOpensOrTellsTheOperator)
{
    ASSERT_TRUE(PublishPortLink(7, pty.SlavePath()));
    auto rules = Rules();
    const struct {
        PortDialogChoice choice;
        const char* why;  // the explanation below the fixed message
    } failing[] = {
        {{"COM8", "115200", "8", "1", "None"}, "该端口没有对应的设备"},  // no such port
        {{"COM0", "115200", "8", "1", "None"}, "端口号（1 到 1024）或波特率无效"},
        {{"COM1025", "115200", "8", "1", "None"}, "端口号（1 到 1024）或波特率无效"},
        {{"COM7", "fast", "8", "1", "None"}, "端口号（1 到 1024）或波特率无效"},  // speed 0
    };
    for (const auto& [choice, why] : failing) {
        SCOPED_TRACE(choice.port + "@" + choice.baud);
        prompt.shown.clear();
        EXPECT_FALSE(rules.Connect(choice));
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_TRUE(prompt.shown.front().text.starts_with("串口打开失败！\n" + std::string(why)))
            << prompt.shown.front().text;
        EXPECT_EQ(prompt.shown.front().kind, RecordingPrompt::Shown::Error);
        EXPECT_EQ(doc.portNumber, 0);
        EXPECT_EQ(doc.baudRate, 0);
        EXPECT_EQ(doc.dataBits, 8);
        EXPECT_FALSE(comm.IsOpen());
    }
    prompt.shown.clear();
    EXPECT_TRUE(rules.Connect({"COM7", "9600", "7", "2", "Odd"}));
    EXPECT_EQ((std::vector<int>{doc.portNumber, doc.baudRate, doc.dataBits, doc.stopBits, doc.parity}),
              (std::vector<int>{7, 9600, 7, 2, 0}));
    EXPECT_EQ(comm.PortNumber(), 7);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(RsParaSetRulesTest, OpenDevicePortClosesAnOpenChannelFirst)
{
    PtyPair other;
    ASSERT_TRUE(PublishPortLink(7, pty.SlavePath()));
    ASSERT_TRUE(PublishPortLink(8, other.SlavePath()));
    doc.portNumber = 7;
    doc.baudRate = 115200;
    ASSERT_TRUE(OpenDevicePort(comm, doc.portNumber, doc.baudRate));
    doc.portNumber = 8;
    ASSERT_TRUE(OpenDevicePort(comm, doc.portNumber, doc.baudRate));
    EXPECT_EQ(comm.DevicePath(), other.SlavePath());
    CnComm rival;
    EXPECT_TRUE(rival.OpenByNumber(7, 9600));  // the first port was released

    doc.portNumber = 0;
    EXPECT_FALSE(OpenDevicePort(comm, doc.portNumber, doc.baudRate));
    EXPECT_FALSE(comm.IsOpen());
}

}  // namespace
TEST_F(RsParaSetRulesTest, PortsNameTheirDevicesAndThePortOpenedLastIsChosenFirst)
{
    const struct {
        PortEntry port;
        const char* description;
    } described[] = {
        {{3, "/dev/ttyUSB0", "FTDI FT232R USB UART (COM3)"}, "FTDI FT232R USB UART (/dev/ttyUSB0)"},
        {{5, "/dev/pts/4", "/dev/pts/4 (COM5)"}, "/dev/pts/4"},  // a link: its target
        {{2, "/dev/ttyS1", ""}, "/dev/ttyS1"},
    };
    for (const auto& d : described)
        EXPECT_EQ(PortDeviceText(d.port), d.description);

    ASSERT_TRUE(PublishPortLink(7, pty.SlavePath()));
    std::vector<int> present{1, 7, 12};
    CRsParaSetRules rules(doc, comm, prompt, [&present] { return UsbPortsNumbered(present); });
    const ComboContent first = rules.Content().port;
    EXPECT_EQ(first.selected, 0);
    EXPECT_EQ(first.descriptions, (std::vector<std::string>{"Adapter 1 (/dev/ttyUSB1)", "Adapter 7 (/dev/ttyUSB7)",
                                                            "Adapter 12 (/dev/ttyUSB12)"}));
    ASSERT_TRUE(rules.Connect({"COM7", "115200", "8", "1", "None"}));
    comm.Shutdown();
    EXPECT_EQ(rules.Content().port.selected, 1) << "the port used last";
    present = {1, 12};
    EXPECT_EQ(rules.Content().port.selected, 0) << "gone: the first again";
}

}  // namespace quillon::test
