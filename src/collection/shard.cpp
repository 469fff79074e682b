#include "collection/shard.h"

#include <charconv>

namespace brevix::collection {

namespace {
constexpr int MAX_SHARDS = 1000000;

bool whole(std::string_view text, int& into) {
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, into);
    return first != last && ec == std::errc() && end == last;
}
}  // namespace

std::optional<Shard> parseShard(const std::string& text, std::string& error) {
    const size_t slash = text.find('/');
    Shard shard;
    if (slash == std::string::npos || !whole(std::string_view(text).substr(0, slash), shard.index) ||
        !whole(std::string_view(text).substr(slash + 1), shard.count)) {
        error = "--shard takes K/N, two whole numbers such as 3/8, not '" + text + "'";
        return std::nullopt;
    }
    if (shard.count < 1 || shard.count > MAX_SHARDS || shard.index < 1 || shard.index > shard.count) {
        error = "--shard K/N needs 1 <= K <= N <= " + std::to_string(MAX_SHARDS) + ", not '" + text + "'";
        return std::nullopt;
    }
    return shard;
}

Range shardRange(size_t size, const Shard& shard) {
    const auto n = static_cast<unsigned long long>(shard.count);
    const auto k = static_cast<unsigned long long>(shard.index);
    return {static_cast<size_t>((k - 1) * size / n), static_cast<size_t>(k * size / n)};
}

}  // namespace brevix::collection
