#pragma once
// Whether two stones are alike to the last bit: every record, every working
// mark, every note, and no text left in a slot past the end. For checking a
// faster way of cutting against the one-by-one way it must agree with.
#include <string>

#include "kernel/stone.h"

namespace brevix {

// The first difference found, in words; empty when there is none.
std::string firstRecordDifference(const Stone& p, const Stone& q);

}  // namespace brevix
