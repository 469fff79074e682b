#pragma once
// Two stones alike to the last bit (kernel/record_difference.h), as a
// GoogleTest assertion that names the first difference.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kernel/record_difference.h"

namespace brevix::testing {

inline bool sameBits(double p, double q) { return std::memcmp(&p, &q, sizeof p) == 0; }

inline ::testing::AssertionResult identicalRecordByRecord(const Stone& p, const Stone& q) {
    const std::string difference = firstRecordDifference(p, q);
    if (difference.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << difference;
}

}  // namespace brevix::testing
