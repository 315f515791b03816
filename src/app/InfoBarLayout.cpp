#include "app/InfoBarLayout.h"

#include "serial/PortLinks.h"

namespace quillon {

std::string ConnectedStatusText(int portNumber)
{
    return PortName(portNumber) + "，联机";
}

ViewCaptionPlacement PlaceViewCaption(int x, int labelWidth)
{
    constexpr int top = 10;
    constexpr int bottom = 30;
    ViewCaptionPlacement p;
    p.label = {x, top, labelWidth, bottom - top};
    const int right = x + labelWidth;
    p.name = {right + 5, top, 230 - 5, bottom - top};
    return p;
}

}  // namespace quillon
