#include "files/progress_input.h"

#include <utility>

namespace brevix {

ProgressBuffer::ProgressBuffer(std::streambuf& source, uint64_t total, ReadProgress progress)
    : source_(source), total_(total), progress_(std::move(progress)) {
    setg(piece_, piece_, piece_);
}

ProgressBuffer::int_type ProgressBuffer::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (cancelled_) return traits_type::eof();
    if (progress_ && !progress_(done_, total_)) {
        cancelled_ = true;
        return traits_type::eof();
    }
    const std::streamsize got = source_.sgetn(piece_, kPiece);
    if (got <= 0) {
        if (progress_) progress_(done_, total_);
        return traits_type::eof();
    }
    done_ += static_cast<uint64_t>(got);
    setg(piece_, piece_, piece_ + got);
    return traits_type::to_int_type(*gptr());
}

ProgressBuffer::pos_type ProgressBuffer::seekoff(off_type offset, std::ios_base::seekdir dir,
                                                 std::ios_base::openmode which) {
    // Only "where am I" and moves within the piece in hand are answered.
    const off_type here = static_cast<off_type>(done_) - (egptr() - gptr());
    off_type target = -1;
    if (dir == std::ios_base::cur) target = here + offset;
    else if (dir == std::ios_base::beg) target = offset;
    return seekpos(pos_type(target), which);
}

ProgressBuffer::pos_type ProgressBuffer::seekpos(pos_type position, std::ios_base::openmode which) {
    const off_type start = static_cast<off_type>(done_) - (egptr() - eback());
    const off_type target = position;
    if (!(which & std::ios_base::in) || target < start || target > static_cast<off_type>(done_))
        return pos_type(off_type(-1));
    setg(eback(), eback() + (target - start), egptr());
    return position;
}

}  // namespace brevix
