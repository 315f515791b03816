#include <gtest/gtest.h>

#include "serial/HardwarePorts.h"
#include "serial/PortDiscovery.h"
#include "serial/PortLinks.h"
#include "serial/PtyPair.h"

namespace quillon::test {
namespace {

// Devices as `udevadm info` shows them on real machines.
TtyDevice FtdiAdapter()
{
    return {"ttyUSB0",
            "/dev/ttyUSB0",
            "ftdi_sio",
            std::nullopt,
            {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0",
             "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
            {{"ID_BUS", "usb"},
             {"ID_VENDOR", "FTDI"},
             {"ID_MODEL", "FT232R_USB_UART"},
             {"ID_SERIAL", "FTDI_FT232R_USB_UART_A50285BI"},
             {"ID_SERIAL_SHORT", "A50285BI"},
             {"ID_VENDOR_FROM_DATABASE", "Future Technology Devices International, Ltd"},
             {"ID_MODEL_FROM_DATABASE", "FT232 Serial (UART) IC"}}};
}

TtyDevice AcmScanner()
{
    return {
        "ttyACM0",
        "/dev/ttyACM0",
        "cdc_acm",
        std::nullopt,
        {"/dev/serial/by-id/usb-Acme_Barcode_Scanner_S123456-if00", "/dev/serial/by-path/pci-0000:00:14.0-usb-0:3:1.0"},
        {{"ID_BUS", "usb"},
         {"ID_VENDOR", "Acme"},
         {"ID_MODEL", "Barcode_Scanner"},
         {"ID_SERIAL", "Acme_Barcode_Scanner_S123456"},
         {"ID_SERIAL_SHORT", "S123456"}}};
}

// A cheap adapter with no serial number: every one of its make has the
// same by-id name.
TtyDevice SerialLessAdapter(int socket)
{
    const std::string n = std::to_string(socket);
    return {"ttyUSB" + n,
            "/dev/ttyUSB" + n,
            "ch341-uart",
            std::nullopt,
            {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:" + n + ":1.0-port0",
             "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"},
            {{"ID_BUS", "usb"},
             {"ID_VENDOR", "1a86"},
             {"ID_MODEL", "USB_Serial"},
             {"ID_SERIAL", "1a86_USB_Serial"},
             {"ID_VENDOR_FROM_DATABASE", "QinHeng Electronics"},
             {"ID_MODEL_FROM_DATABASE", "CH340 serial converter"}}};
}

TtyDevice Uart(const char* sysname, const char* driver, std::optional<std::string> type)
{
    return {sysname, std::string("/dev/") + sysname, driver, std::move(type), {}, {}};
}

TEST(HardwarePortsTest, WhichDevicesArePortsWithTheirIdentityAndDescription)
{
    const struct {
        const char* name;
        TtyDevice device;
        const char* identity;  // nullptr: not a port
        const char* description;
    } cases[] = {
        {"USB serial adapter", FtdiAdapter(), "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
         "Future Technology Devices International, Ltd FT232 Serial (UART) IC"},
        {"ACM device, names from the device", AcmScanner(), "/dev/serial/by-id/usb-Acme_Barcode_Scanner_S123456-if00",
         "Acme Barcode Scanner"},
        {"no serial number: the socket", SerialLessAdapter(4), "/dev/serial/by-path/pci-0000:00:14.0-usb-0:4:1.0-port0",
         "QinHeng Electronics CH340 serial converter"},
        {"built-in UART with a chip", Uart("ttyS0", "serial8250", "4"), "/dev/ttyS0", "ttyS0"},
        {"built-in UART, newer kernels", Uart("ttyS1", "port", "4"), "/dev/ttyS1", "ttyS1"},
        {"UART found by plug and play", Uart("ttyS2", "serial", "4"), "/dev/ttyS2", "ttyS2"},
        {"empty UART slot", Uart("ttyS3", "serial8250", "0"), nullptr, ""},
        {"UART slot without a type", Uart("ttyS4", "serial8250", std::nullopt), nullptr, ""},
        {"virtual terminal", Uart("tty3", "", std::nullopt), nullptr, ""},
        {"no device node", {"ttyUSB9", "", "ftdi_sio", std::nullopt, {}, {}}, nullptr, ""},
        {"by-id only, no serial number",
         {"ttyACM1", "/dev/ttyACM1", "cdc_acm", std::nullopt, {"/dev/serial/by-id/usb-Gadget_Serial-if00"}, {}},
         "/dev/serial/by-id/usb-Gadget_Serial-if00",
         "ttyACM1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto port = HardwarePortOf(c.device);
        ASSERT_EQ(port.has_value(), c.identity != nullptr);
        if (!port)
            continue;
        EXPECT_EQ(port->identity, c.identity);
        EXPECT_EQ(port->devicePath, c.device.node);
        EXPECT_EQ(port->description, c.description);
    }
}

// Two identical adapters without serial numbers keep two numbers, each
// bound to its socket; friendly names carry the number after brackets of
// the description were made square.
TEST(HardwarePortsTest, DevicesAreNumberedThroughTheMapAndLinksHideTheirNumber)
{
    PortSandbox sandbox;
    PtyPair sim;
    ASSERT_TRUE(PublishPortLink(2, sim.SlavePath()));
    ASSERT_TRUE(PublishPortLink(5, (sandbox.Dir().Path() / "gone").string()));
    std::vector<HardwarePort> hardware;
    for (const auto& device : {FtdiAdapter(), SerialLessAdapter(3), SerialLessAdapter(4), Uart("ttyS0", "port", "4")})
        hardware.push_back(*HardwarePortOf(device));

    const auto first = EnumeratePortCandidates(hardware);
    std::vector<std::pair<std::string, std::string>> shown;
    for (const auto& candidate : first)
        shown.emplace_back(candidate.devicePath, candidate.friendlyName);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {sim.SlavePath(), sim.SlavePath() + " (COM2)"},
        {"/dev/ttyUSB0", "Future Technology Devices International, Ltd FT232 Serial [UART] IC (COM1)"},
        {"/dev/ttyUSB3", "QinHeng Electronics CH340 serial converter (COM3)"},
        {"/dev/ttyUSB4", "QinHeng Electronics CH340 serial converter (COM4)"},
        {"/dev/ttyS0", "ttyS0 (COM5)"},
    };
    EXPECT_EQ(shown, expected);

    // Unplugged and plugged in again in the other order: each keeps its number.
    std::swap(hardware[1], hardware[2]);
    const auto second = SelectPorts(EnumeratePortCandidates(hardware));
    std::vector<std::pair<int, std::string>> numbers;
    for (const auto& port : second)
        numbers.emplace_back(port.number, port.devicePath);
    EXPECT_EQ(
        numbers,
        (std::vector<std::pair<int, std::string>>{
            {1, "/dev/ttyUSB0"}, {2, sim.SlavePath()}, {3, "/dev/ttyUSB3"}, {4, "/dev/ttyUSB4"}, {5, "/dev/ttyS0"}}));
}

}  // namespace
}  // namespace quillon::test
