#pragma once
// A dialog at least as wide as its title: a window manager elides a title
// that does not fit the frame ("Rename Fa...n Sequence"), and a narrow
// dialog's layout alone never asks for that width.
class QWidget;

namespace brevix {

// Call once the title is set; keeps any larger minimum width.
void keepTitleReadable(QWidget& window);

}  // namespace brevix
