#pragma once
// The uninstaller's own texts and the numbers under which the install log
// keeps the texts it shows (so each product words its uninstaller itself).
#include <string>
#include <string_view>
#include <vector>

namespace brevix::uninstall {

enum TextId {
    TEXT_MAIN_TITLE = 1001,
    TEXT_CONFIRM_TITLE = 1101,
    TEXT_CONFIRM = 1102,
    TEXT_PROGRESS_TITLE = 1201,
    TEXT_PROGRESS = 1202,
    TEXT_DONE_WITH_ERRORS = 1203,
    TEXT_DONE = 1204,
    TEXT_REMOVE_SHARED = 1302,
    TEXT_DETAILS_TITLE = 1400,
    TEXT_DETAILS_LABEL = 1401,
    TEXT_FOLDER_ERROR = 1402,
    TEXT_FILE_ERROR = 1403,
};

inline constexpr const char* LOG_FILE_NAME = "Setup.log";
// The name under which the application name is looked up.
inline constexpr const char* LOG_FILE_NAME_LOWER = "setup.log";

inline constexpr const char* MSG_ERROR_CAPTION = "Error";
inline constexpr const char* MSG_CANT_OPEN_LOG = "Can't open log file";
inline constexpr const char* MSG_CANNOT_UNREGISTER = "Cannot unregister DLL";
inline constexpr const char* MSG_CANNOT_CREATE_CHILD = "Cannot create child process";
inline constexpr const char* MSG_EXCEPTION_CAPTION = "Exception";
inline constexpr const char* MSG_MODEL_EXCEPTION = "Model Exception";
inline constexpr const char* MSG_UNKNOWN_EXCEPTION = "Unknown";
inline constexpr const char* MSG_REMOVE_SHARED_TITLE = "Remove Shared File?";
inline constexpr const char* MSG_DETAILS_BUTTON = "Details...";

inline constexpr int PHASE_COUNT = 6;
// The progress dialog's labels, phase 1 to 6.
extern const char* const PHASE_LABELS[PHASE_COUNT];

// Replaces the first "%1" and then the first "%2" (each only once).
std::string replaceFirst(std::string text, std::string_view marker, std::string_view with);
std::string fillIn(std::string text, std::string_view first, std::string_view second = {});

// The error-details box's text: every line followed by CR LF.
std::string errorDetailsText(const std::vector<std::string>& errors);

}  // namespace brevix::uninstall
