#pragma once
// A stream buffer that reads through another one in small pieces and tells
// a callback how far the read has come, so a long read can show progress
// and be cancelled. The readers stay as they are: they see a stream that
// ends early once the callback has asked to stop.
#include <cstdint>
#include <functional>
#include <streambuf>

namespace brevix {

// Bytes read so far and the total (0 when unknown); false cancels the read.
using ReadProgress = std::function<bool(uint64_t done, uint64_t total)>;

class ProgressBuffer : public std::streambuf {
public:
    ProgressBuffer(std::streambuf& source, uint64_t total, ReadProgress progress);

    bool cancelled() const { return cancelled_; }
    uint64_t done() const { return done_; }

protected:
    int_type underflow() override;
    // The readers look back only within what they have read (the format
    // checks rewind to the start before the read begins).
    pos_type seekoff(off_type offset, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    static constexpr std::streamsize kPiece = 4096;
    std::streambuf& source_;
    uint64_t total_;
    uint64_t done_ = 0;
    ReadProgress progress_;
    bool cancelled_ = false;
    char piece_[kPiece];
};

}  // namespace brevix
