#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>

namespace quillon {

// Hardware ports keep the COM number they got the first time they were seen.
// The map from number to the device's stable identity (its /dev/serial/by-id
// or by-path name, else its device node) lives in ports.ini under the
// user's configuration folder:
//
//   [ports]
//   3 = /dev/serial/by-id/usb-Vendor_Scanner_0001-if00
//
// The number is the key because identities contain ':' and '=' would be
// read as separators.
class CPortMap {
public:
    // $XDG_CONFIG_HOME/quillon/ports.ini, else ~/.config/quillon/ports.ini.
    static std::string DefaultFile();

    explicit CPortMap(std::string file = DefaultFile());

    // A missing file is an empty map; unreadable lines are skipped.
    void Load();
    // Writes a temporary file and renames it over the old one, so a crash
    // never leaves half a map.  False when the folder or file cannot be written.
    bool Save() const;

    std::optional<int> NumberOf(const std::string& identity) const;
    std::optional<std::string> IdentityOf(int number) const;
    // The identity's number; a new identity gets the lowest number in
    // 1..1024 that is neither mapped nor in `reserved`.  0 when none is free.
    int Assign(const std::string& identity, const std::set<int>& reserved);
    bool Changed() const { return changed_; }

private:
    std::string file_;
    std::map<int, std::string> identities_;
    bool changed_ = false;
};

}  // namespace quillon
