#pragma once
// What the uninstaller throws. The worker mode tells the user about each kind
// in its own words, so the kind travels with the message.
#include <stdexcept>
#include <string>

namespace brevix::uninstall {

class AppException : public std::runtime_error {
public:
    enum Kind { SystemCall = 0, Model = 3 };
    AppException(int kind, const std::string& message, int errorNumber = 0)
        : std::runtime_error(message), kind_(kind), errorNumber_(errorNumber) {}
    int kind() const { return kind_; }
    int errorNumber() const { return errorNumber_; }

private:
    int kind_;
    int errorNumber_;
};

// A system call failed; carries the system's error number.
class WinException : public AppException {
public:
    WinException(const std::string& message, int errorNumber) : AppException(SystemCall, message, errorNumber) {}
};

// A file could not be opened.
class FileException : public AppException {
public:
    explicit FileException(const std::string& fileName, int errorNumber = 0)
        : AppException(SystemCall, "Can't open file " + fileName, errorNumber), fileName_(fileName) {}
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

class ModelException : public AppException {
public:
    explicit ModelException(const std::string& message) : AppException(Model, message) {}
};

}  // namespace brevix::uninstall
