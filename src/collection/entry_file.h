#pragma once
// Reading the files a collection meets (designs, thumbnails, cache entries)
// so that none of them can stop or hold up the scan: only a regular file is
// opened, without waiting (a pipe would wait for a writer that may never
// come), and a read error is a reason in words, never an exception.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace brevix::collection {

// Hands the file's bytes to `chunk` piece by piece, so that a file of any
// size is taken in bounded memory, until `chunk` returns false. False, with
// the reason in `problem`, when the file is no regular file, cannot be
// opened or fails part way.
bool streamFile(const std::string& path, const std::function<bool(std::string_view)>& chunk, std::string& problem);

// The whole file, when it holds at most `limit` bytes (a larger one is a
// problem too).
bool readWholeFile(const std::string& path, std::string& bytes, std::string& problem, size_t limit);

}  // namespace brevix::collection
