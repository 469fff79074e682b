#pragma once
// A file buffer that remembers why the system refused its first failed
// write: a stream only says that it failed, and by the time a writer asks,
// errno may hold anything. "No space left on device" or "File too large"
// tells the user what to do; "Disk full?" alone does not.
#include <fstream>

namespace brevix {

class ErrorKeepingBuffer : public std::filebuf {
public:
    // errno of the first write, flush or close that failed; 0 when none did.
    int error() const { return error_; }
    // Closes the file; false (with error() set when the system said why)
    // when what was still buffered could not be written.
    bool closeKeepingError();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void keep(int error) {
        if (error_ == 0) error_ = error;
    }
    int error_ = 0;
};

}  // namespace brevix
