#include "app/wait_cursor.h"

#include <QApplication>
#include <QCursor>

namespace brevix {

void WaitCursorIndicator::begin() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

void WaitCursorIndicator::end() { QApplication::restoreOverrideCursor(); }

}  // namespace brevix
