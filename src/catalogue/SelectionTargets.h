#pragma once
#include <string>

namespace quillon {

// The value an applied option carries: kind 0 none, 1 plain text,
// 2 hexadecimal number, 3 hexadecimal byte string; length counts characters
// for kind 1 and bytes otherwise.
struct ValueTriple {
    std::string valueText;
    int valueLength = 0;
    int valueKind = 0;
    // The dialog's input as an operator types it (see DialogInputs), so a
    // profile can give the same value to the same dialog again.
    std::string dialogInput;
};

// Where an applied option goes offline: the configuration document.
class IConfigurationTarget {
public:
    virtual ~IConfigurationTarget() = default;
    virtual void AddCommandEntry(int recordIndex, int parentIndex, const ValueTriple& value,
                                 const std::string& captionText) = 0;
};

// Where an applied option goes online: the device, as a setting frame.
class ISettingSender {
public:
    virtual ~ISettingSender() = default;
    virtual void SendSettingFrame(int recordIndex, const ValueTriple& value) = 0;
};

}  // namespace quillon
