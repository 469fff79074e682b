#pragma once
// Pens, brushes and the font the views draw with; the GUI uses the same
// objects for what it draws itself (markers, highlights).
#include "views/canvas.h"

namespace brevix {

inline const Pen MARKER_PEN{PenStyle::Solid, 0, {255, 0, 0}};       // pick markers, crosshair
inline const Pen HIGHLIGHT_PEN{PenStyle::Solid, 0, {128, 0, 128}};  // hover highlight
inline const Pen HIDDEN_LINE_PEN{PenStyle::Solid, 0, {220, 220, 220}};
inline const Pen RAY_PEN{PenStyle::Solid, 0, {0, 255, 0}};
inline const Pen BACKGROUND_PEN{PenStyle::Solid, 0, {166, 202, 240}};
inline const Pen PRINT_PEN{PenStyle::Solid, 1, {0, 0, 0}};
inline const Pen PREFORM_PEN{PenStyle::Solid, 0, {0, 0, 255}};
inline const Brush BACKGROUND_BRUSH{BrushStyle::Solid, {166, 202, 240}};

// The views' 8-point font on screen.
inline const Font VIEW_FONT{"MS Sans Serif", 0, 8, 400};
// The font the pictures put on the clipboard are drawn with.
inline const Font CLIPBOARD_FONT{"Arial", 14, 0, 500};

// Label margin of the screen panes, in pixels.
constexpr int VIEW_MARGIN = 8;

}  // namespace brevix
