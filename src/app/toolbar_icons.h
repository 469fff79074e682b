#pragma once
// The toolbar's pictures, 16 by 15 pixels, painted by the program itself.
#include <QIcon>

namespace brevix {

// An empty icon for a command that has no toolbar picture.
QIcon toolbarIcon(int commandId);

}  // namespace brevix
