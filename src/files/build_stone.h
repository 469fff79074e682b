#pragma once
// Cuts a design record into a stone: the one way every design format turns
// what it read into a polyhedron, finds the preform and reports.
#include <cstdint>

#include "files/design_record.h"
#include "kernel/local_cut.h"
#include "kernel/stone.h"

namespace brevix {

// Cuts the record's planes in order into `stone`, a freshly constructed
// rough stone, names them and gives the design its settings and preform.
// The notes of reading, of the kernel and of a cut the kernel could not make
// (which ends the design there, the stone back as before that plane) are
// left on the stone in the order they arose. Planes are cut locally once
// the stone has `localCutsFrom` vertices (kernel/local_cut.h); the stone
// is the same whatever it is.
void buildStone(Stone& stone, const DesignRecord& record, int32_t localCutsFrom = LOCAL_CUT_SMALLEST_STONE);

}  // namespace brevix
