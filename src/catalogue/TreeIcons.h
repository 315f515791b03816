#pragma once
#include "catalogue/CatalogueTree.h"

#include <QIcon>
#include <QPixmap>

namespace quillon {

// The 16 x 16 images of the settings tree, one per TreeImage role.
QPixmap TreeImagePixmap(TreeImage role);

// An icon that shows `image` normally and `selectedImage` while selected.
QIcon TreeItemIcon(int image, int selectedImage);

}  // namespace quillon
