#pragma once
// What a click in the four view opens, and what the Cut Facet form's
// "Between 1,2" opens: the dialog of the kind picked, shown (again, where
// the dialog asks for it) until it is done, with its result carried out on
// the document.
#include <cstdint>

#include "kernel/geometry.h"
#include "views/picking.h"

class QWidget;

namespace brevix {

class CGemDoc;

// Opens the dialog for a click on `kind` (facet, edge or vertex `index`, the
// picked `point`); an edge's chosen point is written back into `point`.
// True when the dialog was closed by its zoom button.
bool runPickDialog(QWidget* parent, CGemDoc& doc, PickKind kind, int32_t index, Vec3& point,
                   bool zoomed);

// "Between Two Points" on the pending facet's points 1 and 2; its chosen
// point replaces them. True when closed by the zoom button.
bool runBetweenDialog(QWidget* parent, CGemDoc& doc, bool zoomed);

}  // namespace brevix
