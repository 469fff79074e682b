// The settings store on Windows: the registry itself.
#ifdef _WIN32

#include <windows.h>

#include "platform/registry.h"

namespace brevix {

namespace {

HKEY rootHandle(RegRoot root) {
    switch (root) {
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::Users: return HKEY_USERS;
    }
    return HKEY_CURRENT_USER;
}

class OpenKey {
public:
    OpenKey(RegRoot root, std::string_view key, REGSAM access) {
        std::string path(key);
        if (RegOpenKeyExA(rootHandle(root), path.c_str(), 0, access, &handle_) != ERROR_SUCCESS)
            handle_ = nullptr;
    }
    ~OpenKey() {
        if (handle_) RegCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

bool setRaw(RegRoot root, std::string_view key, std::string_view name, DWORD type, const BYTE* data,
            DWORD size) {
    std::string path(key), valueName(name);
    HKEY handle = nullptr;
    if (RegCreateKeyExA(rootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(handle, valueName.c_str(), 0, type, data, size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

}  // namespace

RegOpen regCreateKey(RegRoot root, std::string_view key) {
    std::string path(key);
    HKEY handle = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(rootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &handle, &disposition) != ERROR_SUCCESS)
        return RegOpen::Failed;
    RegCloseKey(handle);
    return disposition == REG_CREATED_NEW_KEY ? RegOpen::Created : RegOpen::Opened;
}

bool regKeyExists(RegRoot root, std::string_view key) {
    return OpenKey(root, key, KEY_READ).get() != nullptr;
}

bool regDeleteKey(RegRoot root, std::string_view key) {
    std::string path(key);
    // With a subkey named, RegDeleteTree removes that key itself as well.
    return RegDeleteTreeA(rootHandle(root), path.c_str()) == ERROR_SUCCESS;
}

std::optional<uint32_t> regGetDword(RegRoot root, std::string_view key, std::string_view name) {
    OpenKey k(root, key, KEY_QUERY_VALUE);
    if (!k.get()) return std::nullopt;
    std::string valueName(name);
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(k.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<std::string> regGetString(RegRoot root, std::string_view key, std::string_view name) {
    OpenKey k(root, key, KEY_QUERY_VALUE);
    if (!k.get()) return std::nullopt;
    std::string valueName(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::string text(size, '\0');
    if (RegQueryValueExA(k.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(size);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

bool regSetDword(RegRoot root, std::string_view key, std::string_view name, uint32_t value) {
    DWORD raw = value;
    return setRaw(root, key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&raw), sizeof raw);
}

bool regSetString(RegRoot root, std::string_view key, std::string_view name, std::string_view value) {
    std::string text(value);
    return setRaw(root, key, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                  static_cast<DWORD>(text.size() + 1));
}

bool regDeleteValue(RegRoot root, std::string_view key, std::string_view name) {
    OpenKey k(root, key, KEY_SET_VALUE);
    if (!k.get()) return false;
    std::string valueName(name);
    return RegDeleteValueA(k.get(), valueName.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> regValueNames(RegRoot root, std::string_view key) {
    std::vector<std::string> names;
    OpenKey k(root, key, KEY_QUERY_VALUE);
    if (!k.get()) return names;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD size = sizeof name;
        if (RegEnumValueA(k.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    return names;
}

std::vector<std::string> regSubkeyNames(RegRoot root, std::string_view key) {
    std::vector<std::string> names;
    OpenKey k(root, key, KEY_ENUMERATE_SUB_KEYS);
    if (!k.get()) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumKeyExA(k.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    return names;
}

}  // namespace brevix

#endif  // _WIN32
