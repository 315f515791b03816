#pragma once
#include "catalogue/SelectionTargets.h"

#include <functional>
#include <string>
#include <vector>

namespace quillon::test {

// Records every entry and frame a selection hands on, one line each:
// "document INDEX PARENT 'TEXT' LENGTH KIND CAPTION" or
// "device INDEX 'TEXT' LENGTH KIND[ route ROUTE]" (the reply route when it went out,
// given a route to look at).
class RecordingTargets : public IConfigurationTarget, public ISettingSender {
public:
    void AddCommandEntry(int index, int parent, const ValueTriple& value, const std::string& caption) override
    {
        events.push_back("document " + std::to_string(index) + " " + std::to_string(parent) + " " + Describe(value) +
                         " " + caption);
    }
    void SendSettingFrame(int index, const ValueTriple& value) override
    {
        events.push_back("device " + std::to_string(index) + " " + Describe(value) +
                         (route ? " route " + std::to_string(route()) : std::string()));
    }
    static std::string Describe(const ValueTriple& v)
    {
        return "'" + v.valueText + "' " + std::to_string(v.valueLength) + " " + std::to_string(v.valueKind);
    }
    std::vector<std::string> events;
    std::function<int()> route;  // the link's
};

}  // namespace quillon::test
