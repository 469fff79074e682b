#pragma once
// One of N parts of a sorted list, so that N machines together score a
// collection once. Parts are runs of the list in its order: joining the
// outputs of parts 1 to N gives the output of the whole list.
#include <cstddef>
#include <optional>
#include <string>

namespace brevix::collection {

struct Shard {
    int index = 1;  // K, from 1
    int count = 1;  // N
};

// "K/N" with 1 <= K <= N; none (and the reason in `error`) otherwise.
std::optional<Shard> parseShard(const std::string& text, std::string& error);

struct Range {
    size_t begin = 0, end = 0;
};

// Part K of a list of `size` items: the sizes of the parts differ by at most one.
Range shardRange(size_t size, const Shard& shard);

}  // namespace brevix::collection
