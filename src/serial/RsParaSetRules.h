#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "serial/PortDiscovery.h"

namespace quillon {

class CQuillonDoc;
class CnComm;
class IPrompt;

inline constexpr const char* kPortOpenFailedText = "串口打开失败！";

// The fixed message for a port that did not open, and below it why and
// what to do.
std::string PortOpenFailedText(const CnComm& comm);

// A port as the operator tells it apart: the device's name from discovery
// and its device node, e.g. "FTDI FT232R USB UART (/dev/ttyUSB0)".
std::string PortDeviceText(const PortEntry& port);

// One drop-down list of the port dialog as it is to be shown.
struct ComboContent {
    std::vector<std::string> items;
    int selected;   // -1: nothing selected
    bool editable;  // the operator may type a text of their own
    bool enabled;
    // What each item is, for people (the port list: which device); empty
    // when the items say it themselves.
    std::vector<std::string> descriptions = {};
};

struct PortDialogContent {
    ComboContent port, baud, dataBits, stopBits, parity;
};

// The texts of the five lists when the operator presses connect.
struct PortDialogChoice {
    std::string port, baud, dataBits, stopBits, parity;
};

// What the port parameter dialog shows and does, without the window: the
// window shows Content() each time it opens and hands the texts to Connect.
class CRsParaSetRules {
public:
    using Discover = std::function<std::vector<PortEntry>()>;

    // `discover` lists the present ports, ascending.
    CRsParaSetRules(CQuillonDoc& doc, CnComm& comm, IPrompt& prompt, Discover discover);

    // The port chosen first is the one that last opened, while it is
    // present, else the first.
    PortDialogContent Content() const;
    // The port list after a device came or went while the dialog is open:
    // the present ports, with the operator's `current` text still chosen.
    // selected is -1 when that text is no longer (or never was) an item;
    // the text itself stays, so the list does not change under the cursor.
    ComboContent PortsKeeping(const std::string& current) const;

    // Stores the five numbers in the document and opens the port.  true when
    // it opened (the dialog closes); otherwise the operator is told (the fixed
    // message, and below it why and what to do), portNumber
    // and baudRate go back to 0 and the dialog stays open.
    bool Connect(const PortDialogChoice& choice);

    // A list text read as a decimal integer: leading blanks, an optional sign
    // and the leading digits; 0 without digits; out-of-range values saturate.
    static int ParseNumber(std::string_view text);
    // The port text without its first three characters ("COM"), read as above.
    static int ParsePort(std::string_view text);

private:
    CQuillonDoc& doc_;
    CnComm& comm_;
    IPrompt& prompt_;
    Discover discover_;
    std::string lastOpened_;
};

}  // namespace quillon
