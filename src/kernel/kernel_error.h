#pragma once
// Thrown when the polyhedron's arrays no longer describe a valid solid. The
// message is the exact text the user is shown ("Internal error: …"); the
// command that caused it puts back the stone it had before and goes on.
#include <stdexcept>
#include <string>

namespace brevix {

class KernelError : public std::runtime_error {
public:
    explicit KernelError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace brevix
