#include "files/bounded_lines.h"

#include <cstring>

namespace brevix {

bool BoundedLines::refill() {
    const std::streamsize got = in_.sgetn(buffer_, sizeof buffer_);
    at_ = 0;
    end_ = got > 0 ? static_cast<size_t>(got) : 0;
    return end_ > 0;
}

bool BoundedLines::next(std::string& line) {
    line.clear();
    if (tooLong_) return false;
    bool started = false;
    for (;;) {
        if (at_ == end_ && !refill()) {
            if (started) ++number_;
            return started;
        }
        started = true;
        const char* from = buffer_ + at_;
        const void* found = std::memchr(from, '\n', end_ - at_);
        const size_t length = found ? static_cast<size_t>(static_cast<const char*>(found) - from) : end_ - at_;
        for (size_t k = 0; k < length; ++k)
            if (from[k] != '\r') line += from[k];
        at_ += length;
        if (line.size() > max_) {
            tooLong_ = true;
            ++number_;
            line.clear();
            return false;
        }
        if (found) {
            ++at_;
            ++number_;
            return true;
        }
    }
}

bool isBlankLine(const std::string& line) { return line.find_first_not_of(" \t\n\v\f\r") == std::string::npos; }

}  // namespace brevix
