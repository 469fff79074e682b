#pragma once
// Writes a file so that a failed save never destroys the previous one: the
// bytes go to a temporary file in the target's folder, which replaces the
// target (by a rename, atomic on one file system) only when the whole stream
// was written without error. Used by every writer and by the document.
// Temporary files that a writer killed before its commit left behind are
// removed the next time the same target is written.
#include <ostream>
#include <string>

#include "files/error_keeping_buffer.h"

namespace brevix {

class ReplacingFile {
public:
    // Creates the temporary file at once; isOpen() tells whether that worked.
    // A target that exists but may not be written counts as not openable,
    // as opening it for writing would; so does one that is no regular file
    // (a device, a pipe, a socket, or a link to one): renaming over it
    // would put a file where the system had a device.
    explicit ReplacingFile(const std::string& target, bool binary = true);
    ~ReplacingFile();  // removes the temporary file unless committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool isOpen() const { return open_; }
    std::ostream& stream() { return stream_; }

    // Flushes and closes; if the stream reported no error, renames the
    // temporary file over the target. Returns false (and removes the
    // temporary file, leaving the target as it was) on any failure.
    bool commit();
    // Gives up: the temporary file goes, the target stays as it was.
    void discard();

    const std::string& target() const { return target_; }
    const std::string& temporaryPath() const { return temporary_; }
    // Why the file could not be opened, written or put in place, in the
    // user's words (the system's own for a failed write: "No space left on
    // device."); "" when that is not known (or nothing failed).
    std::string problem() const;

private:
    std::string target_;     // the file finally written (a link resolved to its file)
    std::string temporary_;  // beside the target
    ErrorKeepingBuffer buffer_;
    std::ostream stream_{&buffer_};
    bool open_ = false;
    bool done_ = false;
    int error_ = 0;  // errno of the failed open or rename

};

}  // namespace brevix
