#pragma once
#include "views/IPainter.h"

namespace quillon {

class CQuillonDoc;
class IViewOptions;

// What the document pane shows, chosen by the view mode, the form's check
// boxes and the document's display mode.
struct PaneBottom {
    enum Rule {
        None,      // nothing drawn, the scroll range stays
        Fit,       // the range follows the content (at least 300 units)
        GrowOnly,  // the range only grows
    };
    Rule rule = None;
    int bottom = 0;
};

PaneBottom DrawPane(IPainter& painter, const CQuillonDoc& doc, const IViewOptions& options, int clientWidth);

// The width to draw the pane at (DrawPane's clientWidth): the client width,
// or the configuration document's wider need.
int PaneWidth(IPainter& painter, const CQuillonDoc& doc, const IViewOptions& options, int clientWidth);

// How the pane's total height follows its content: taller content scrolls to
// the new bottom, shorter content shrinks the range to no less than 300.
struct HeightChange {
    int totalHeight = 0;
    bool scrollToBottom = false;
};
HeightChange FollowContent(int totalHeight, const PaneBottom& content);

}  // namespace quillon
