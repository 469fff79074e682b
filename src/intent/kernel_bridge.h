#pragma once
// The one place where re-cutting and inference call the polyhedron kernel.
// The kernel may still report its internal warnings through the process-wide
// message sink while it cuts; keeping every call here leaves one function to
// change when it hands its diagnostics back instead.
#include <string>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// Cuts one plane into the stone: the number of design facets it removed
// entirely, or -1 when it missed. A broken polyhedron comes back as a
// KernelError, as from the kernel itself.
int cutPlane(Stone& stone, const Plane& plane, std::string name = {}, std::string instruction = {});

}  // namespace brevix
