#pragma once
// An input stream over bytes already in memory, without copying them: the
// readers take streams, and the fuzzers and the database hand them bytes.
#include <cstddef>
#include <istream>
#include <span>
#include <streambuf>

namespace brevix {

class MemoryBuffer : public std::streambuf {
public:
    explicit MemoryBuffer(std::span<const unsigned char> bytes);

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir dir,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
};

class MemoryInput : public std::istream {
public:
    explicit MemoryInput(std::span<const unsigned char> bytes) : std::istream(nullptr), buffer_(bytes) {
        rdbuf(&buffer_);
    }

private:
    MemoryBuffer buffer_;
};

}  // namespace brevix
