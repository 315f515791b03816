#pragma once
#include "app/CommandTable.h"

#include <QIcon>

namespace quillon {

// The program's own 32 x 32 toolbar images, painted rather than loaded so
// they need no image files.
QIcon ToolbarIcon(CommandId id);

// The window icon: a barcode sheet.
QIcon WindowIcon();

}  // namespace quillon
