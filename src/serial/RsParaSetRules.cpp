#include "serial/RsParaSetRules.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "base/Prompt.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"
#include "serial/PortLinks.h"
#include "serial/PortProblem.h"

namespace quillon {

namespace {

ComboContent Fixed(std::vector<std::string> items, const std::string& selected, bool sorted, bool editable,
                   bool enabled)
{
    if (sorted)
        std::sort(items.begin(), items.end());
    const auto found = std::find(items.begin(), items.end(), selected);
    return {items, found == items.end() ? -1 : int(found - items.begin()), editable, enabled};
}

}  // namespace

CRsParaSetRules::CRsParaSetRules(CQuillonDoc& doc, CnComm& comm, IPrompt& prompt, Discover discover)
    : doc_(doc),
      comm_(comm),
      prompt_(prompt),
      discover_(std::move(discover))
{
}

std::string PortDeviceText(const PortEntry& port)
{
    std::string name = port.friendlyName;
    const std::string tail = " (" + PortName(port.number) + ")";
    if (name.ends_with(tail))
        name.resize(name.size() - tail.size());
    if (name.empty() || name == port.devicePath)
        return port.devicePath;
    return port.devicePath.empty() ? name : name + " (" + port.devicePath + ")";
}

PortDialogContent CRsParaSetRules::Content() const
{
    PortDialogContent content;
    content.port = PortsKeeping(lastOpened_);
    if (content.port.selected < 0 && !content.port.items.empty())
        content.port.selected = 0;
    content.baud = Fixed({"460800", "256000", "230400", "128000", "115200", "57600", "38400", "19200", "9600", "4800"},
                         "115200", false, true, true);
    content.dataBits = Fixed({"5", "6", "7", "8"}, "8", true, false, false);
    content.stopBits = Fixed({"0", "1", "2"}, "1", true, false, false);
    content.parity = Fixed({"None", "Odd", "Even"}, "None", false, false, false);
    return content;
}

ComboContent CRsParaSetRules::PortsKeeping(const std::string& current) const
{
    ComboContent ports{{}, -1, true, true};
    for (const PortEntry& port : discover_()) {
        ports.items.push_back(PortName(port.number));
        ports.descriptions.push_back(PortDeviceText(port));
    }
    const auto found = std::find(ports.items.begin(), ports.items.end(), current);
    if (found != ports.items.end())
        ports.selected = int(found - ports.items.begin());
    else if (current.empty() && !ports.items.empty())
        ports.selected = 0;
    return ports;
}

std::string PortOpenFailedText(const CnComm& comm)
{
    return std::string(kPortOpenFailedText) + "\n" +
           ExplainPortProblem(GatherPortFacts(comm.DevicePath(), comm.LastOpenError()));
}

bool CRsParaSetRules::Connect(const PortDialogChoice& choice)
{
    doc_.portNumber = ParsePort(choice.port);
    doc_.baudRate = ParseNumber(choice.baud);
    doc_.dataBits = ParseNumber(choice.dataBits);
    doc_.stopBits = ParseNumber(choice.stopBits);
    doc_.parity = ParseNumber(choice.parity);
    if (OpenDevicePort(comm_, doc_.portNumber, doc_.baudRate)) {
        lastOpened_ = PortName(doc_.portNumber);
        return true;
    }
    prompt_.ShowError(PortOpenFailedText(comm_));
    doc_.portNumber = 0;
    doc_.baudRate = 0;
    return false;
}

int CRsParaSetRules::ParseNumber(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
        value = std::min<long long>(value * 10 + (text[at] - '0'), 1LL + INT_MAX);
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int CRsParaSetRules::ParsePort(std::string_view text)
{
    // Three characters, not bytes: a name typed with Chinese characters must
    // not be cut inside one.
    size_t at = 0;
    for (int skipped = 0; skipped < 3 && at < text.size(); ++skipped) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            ++at;
    }
    return ParseNumber(text.substr(at));
}

}  // namespace quillon
