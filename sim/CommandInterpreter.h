#pragma once
#include "sim/Device.h"
#include "sim/TextEncoder.h"

#include <string>
#include <string_view>

namespace quillon::sim {

// What a control command may do to the line itself.
class LinkControl {
public:
    virtual ~LinkControl() = default;
    // Closes the pseudo-terminal: the tool sees the device vanish.
    virtual void Unplug() = 0;
    // A fresh pseudo-terminal under the same COM name; an error text or empty.
    virtual std::string Plug() = 0;
    virtual void Quit() = 0;
    virtual std::string Status() const = 0;
};

// Control commands, one per line, from the terminal or the control FIFO.
class CommandInterpreter {
public:
    CommandInterpreter(Device& device, LinkControl& link, TextEncoding encoding)
        : device_(device),
          link_(link),
          encoding_(encoding)
    {
    }

    // Runs one line; returns the answer to show (never empty).
    std::string Execute(std::string_view line);

    static std::string Help();

private:
    std::string Scan(std::string_view text);
    std::string ScanHex(std::string_view hex);
    std::string Fault(std::string_view args);
    std::string Flood(std::string_view megabytes);
    std::string SetEncoding(std::string_view name);

    Device& device_;
    LinkControl& link_;
    TextEncoding encoding_;
};

// "gbk" / "utf8" (also "utf-8"), any case.
std::optional<TextEncoding> ParseEncoding(std::string_view name);

}  // namespace quillon::sim
