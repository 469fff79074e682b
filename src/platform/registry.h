#pragma once
// The settings store of both programs, shaped like the Windows registry:
// roots, keys addressed by backslash paths ("Software\Brevix\MainWnd"),
// typed values (DWORD or string). On Windows it is the registry itself;
// elsewhere each root is an INI "hive" file in the user's configuration
// folder, one [section] per key, so the same code runs everywhere.
//
// Key and value names compare without regard to case, as in the registry,
// and keep the spelling they were created with.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevix {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

// "HKCR", "HKCU", "HKLM", "HKU" and their long forms ("HKEY_CURRENT_USER" …).
std::optional<RegRoot> regRootFromName(std::string_view name);
const char* regRootName(RegRoot root);  // the short form

enum class RegOpen { Failed, Opened, Created };

// Opens the key, creating it and its missing parents; tells which happened.
RegOpen regCreateKey(RegRoot root, std::string_view key);
bool regKeyExists(RegRoot root, std::string_view key);
// Deletes the key with everything below it; false when it was not there or
// could not be deleted.
bool regDeleteKey(RegRoot root, std::string_view key);

// Reads give nothing when the key or value is missing or has the other type.
std::optional<uint32_t> regGetDword(RegRoot root, std::string_view key, std::string_view name);
std::optional<std::string> regGetString(RegRoot root, std::string_view key, std::string_view name);
// Writes create the key when needed.
bool regSetDword(RegRoot root, std::string_view key, std::string_view name, uint32_t value);
bool regSetString(RegRoot root, std::string_view key, std::string_view name, std::string_view value);
bool regDeleteValue(RegRoot root, std::string_view key, std::string_view name);

std::vector<std::string> regValueNames(RegRoot root, std::string_view key);
std::vector<std::string> regSubkeyNames(RegRoot root, std::string_view key);

// Where the hive files live when there is no Windows registry: the folder
// set here, else $BREVIX_REGISTRY_DIR, else userConfigFolder(). Tests and
// batch runs point it at a folder of their own; "" goes back to the default.
void setRegistryFolder(std::string folder);
std::string registryFolder();

// The program's own key below HKEY_CURRENT_USER.
inline constexpr const char* APP_REGISTRY_KEY = "Software\\Brevix";

}  // namespace brevix
