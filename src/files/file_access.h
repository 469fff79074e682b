#pragma once
// Why a file cannot be read or written, in words a user can act on: the
// second line of "Cannot open ... to read" and "Cannot open ... to write.".
// Every reader and writer asks here, so that the same case gets the same
// words whichever command met it.
#include <string>

namespace brevix {

// "" when `path` names a regular file that may be opened for reading;
// otherwise the reason ("It is a folder, not a file.", "Permission
// denied.", ...). Devices, pipes and sockets are refused without being
// opened: opening a pipe waits for a writer that may never come.
std::string readProblem(const std::string& path);

// Why a file could not be created at `path` (or the temporary file beside
// it); `error` is the errno of the failed attempt, 0 when unknown. "" when
// nothing more can be said.
std::string writeProblem(const std::string& path, int error);

// `format` (with one %s for the path) followed, when there is one, by the
// reason on a line of its own.
std::string fileMessage(const char* format, const std::string& path, const std::string& reason);

}  // namespace brevix
