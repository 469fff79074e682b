#pragma once
// The uninstaller's own pictures, drawn here rather than shipped as files:
// the program icon and the check mark of a finished phase.
#include <QIcon>
#include <QPixmap>

namespace brevix::uninstall {

QIcon uninstallerIcon();
QPixmap checkMarkPixmap(int size);

}  // namespace brevix::uninstall
