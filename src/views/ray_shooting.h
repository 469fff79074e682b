#pragma once
// Shooting a light ray from a pane: the ray starts 1.1 units in front of
// the point under the pointer and runs straight into the screen, so the
// designer sees where light falling face-on onto that spot goes. Misses, a
// pointer outside every pane and a ray that finds no way out call for a
// beep, which the window sounds: the core makes no sound of its own.
#include <span>

#include "kernel/stone.h"
#include "views/view.h"

namespace brevix {

// How far in front of the pane's plane through the origin a ray starts.
constexpr double RAY_START_DEPTH = -1.1;

// The pane a ray is shot from: the hovered one when there is one (-1: none),
// else the first whose viewport holds the pointer; -1 when none does.
int rayPaneAt(std::span<const View> panes, int hoverPane, int x, int y);

// What a shot did: `recorded` when a path was recorded (the views that draw
// rays repaint), `beep` when it found nothing to act on or no way out.
struct RayShot {
    bool recorded = false;
    bool beep = false;
    explicit operator bool() const { return recorded; }
};

// Traces one ray from the pane under (x, y) into the stone and records its path.
RayShot shootRay(Stone& stone, std::span<const View> panes, int hoverPane, int x, int y);
// The same from one given pane (the spin view has no other).
RayShot shootRayInPane(Stone& stone, const View& pane, int x, int y);

}  // namespace brevix
