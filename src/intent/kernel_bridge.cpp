#include "intent/kernel_bridge.h"

#include <utility>

namespace brevix {

int cutPlane(Stone& stone, const Plane& plane, std::string name, std::string instruction) {
    return stone.newFacet(plane.a, plane.b, plane.c, plane.d, std::move(name), std::move(instruction));
}

}  // namespace brevix
