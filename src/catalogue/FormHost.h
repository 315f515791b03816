#pragma once
#include "base/ViewMode.h"

#include <string>

namespace quillon {

// The refusal the window and the form show when an action needs a port that
// is not configured.
inline constexpr const char* kNoPortText = "请先初始化通信串口参数！";

// What the settings form needs of the main window it lives in.
class IFormHost {
public:
    virtual ~IFormHost() = default;
    virtual ViewMode CurrentView() const = 0;
    virtual bool PortConfigured() const = 0;  // a port is set and open
    virtual void LayoutPanes() = 0;
    virtual void SwitchToConfigurationView() = 0;
    virtual void DiscardInput() = 0;  // drop stale device input before a new exchange
    // A box that decides where unasked-for replies go was clicked.
    virtual void RestingRouteChanged() = 0;
    virtual void RedrawDocumentPane() = 0;
    virtual void RedrawMonitorPane() = 0;
    virtual void AddCustomEntry(const std::string& command, const std::string& caption) = 0;
    virtual void StartImageExtraction(int width, int height) = 0;
    virtual void FormResized() = 0;  // the left pane's width may have changed
};

}  // namespace quillon
