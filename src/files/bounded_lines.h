#pragma once
// The lines of a text stream one at a time, in bounded memory: a file of
// any size (a good file followed by millions of blank lines, or one long
// line of junk) costs at most one line of the longest kind the format can
// hold, and is passed over at the speed of the disk.
#include <cstddef>
#include <streambuf>
#include <string>

namespace brevix {

class BoundedLines {
public:
    BoundedLines(std::streambuf& in, size_t maxLineBytes) : in_(in), max_(maxLineBytes) {}

    // The next line, without its "\n" and any "\r"; false at the end of the
    // stream, or when the line is longer than the limit (tooLong() says so
    // and number() is that line's).
    bool next(std::string& line);
    bool tooLong() const { return tooLong_; }
    // The number of the line last given, from 1.
    size_t number() const { return number_; }

private:
    bool refill();

    std::streambuf& in_;
    size_t max_;
    size_t number_ = 0;
    bool tooLong_ = false;
    char buffer_[65536];
    size_t at_ = 0, end_ = 0;
};

// Whether the line holds nothing but white space.
bool isBlankLine(const std::string& line);

}  // namespace brevix
