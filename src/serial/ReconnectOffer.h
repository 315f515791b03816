#pragma once
#include <optional>
#include <string>

#include "serial/HotplugRules.h"

namespace quillon {

// The window's one-click offer to connect again to a device that was
// unplugged and came back.  It lasts a minute from when it is made, and
// goes sooner when it is used or the operator connects or disconnects.
class ReconnectOffer {
public:
    using Clock = HotplugRules::Clock;
    static constexpr Clock::duration kLifetime = HotplugRules::kReturnWindow;

    void Make(int port, Clock::time_point now);
    void Withdraw() { offer_.reset(); }
    // Withdraws an offer that has outlived its minute; true when it did.
    bool Expire(Clock::time_point now);
    // The port offered, if any.
    std::optional<int> Port() const;

    // The status bar's words when the connected device went away.
    static std::string UnpluggedText(int port);
    static std::string ReturnedText(int port);
    static std::string ButtonText(int port);
    // Once the device answers again, whatever was said before is over.
    static std::string ConnectedText(int port);

private:
    struct Offer {
        int port;
        Clock::time_point madeAt;
    };
    std::optional<Offer> offer_;
};

}  // namespace quillon
