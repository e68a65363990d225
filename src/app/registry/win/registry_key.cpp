#include "app/registry/win/registry_key.h"

#include <cstdint>

#include "declared/declared_functions.h"

namespace brindor::app {

namespace {

void* const kCurrentUserKey = reinterpret_cast<void*>(static_cast<uintptr_t>(0x80000001));
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;
constexpr uint32_t kTextValue = 1;       // REG_SZ
constexpr uint32_t kExpandedValue = 2;   // REG_EXPAND_SZ
constexpr uint32_t kLongestText = 65536; // bytes
constexpr uint32_t kLongestPath = 32768;

} // namespace

bool RegistryKey::Create(const std::wstring& path) {
    const wchar_t* no_class = nullptr;
    const void* default_security = nullptr;
    void* disposition = nullptr;
    void* key = nullptr;
    const bool created =
        call_declared<int32_t>(kRegCreateKeyExW, kCurrentUserKey, path.c_str(), 0u, no_class, 0u,
                               kKeyWrite | kKeyRead, default_security, &key, disposition) == 0;
    key_.reset(key);
    return created;
}

bool RegistryKey::Open(const std::wstring& path) {
    void* key = nullptr;
    const bool opened =
        call_declared<int32_t>(kRegOpenKeyExW, kCurrentUserKey, path.c_str(), 0u, kKeyRead, &key) == 0;
    key_.reset(key);
    return opened;
}

bool RegistryKey::SetText(const wchar_t* name, const std::wstring& value) const {
    const uint32_t bytes = static_cast<uint32_t>((value.size() + 1) * sizeof(wchar_t));
    return call_declared<int32_t>(kRegSetValueExW, key_.get(), name, 0u, kTextValue, value.c_str(), bytes) ==
           0;
}

bool RegistryKey::ReadText(const wchar_t* name, std::wstring& value) const {
    uint32_t type = 0, bytes = 0;
    const void* no_reserved = nullptr;
    const void* no_data = nullptr;
    if (call_declared<int32_t>(kRegQueryValueExW, key_.get(), name, no_reserved, &type, no_data, &bytes) !=
            0 ||
        (type != kTextValue && type != kExpandedValue) || bytes > kLongestText)
        return false;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<uint32_t>(text.size() * sizeof(wchar_t));
    if (call_declared<int32_t>(kRegQueryValueExW, key_.get(), name, no_reserved, &type, text.data(),
                               &bytes) != 0)
        return false;
    // The stored text need not end with a NUL.
    text.resize(bytes / sizeof(wchar_t));
    value = text.substr(0, text.find(L'\0'));
    return true;
}

std::wstring DefaultText(const std::wstring& path) {
    RegistryKey key;
    std::wstring text;
    if (!key.Open(path) || !key.ReadText(L"", text)) return std::wstring();
    return text;
}

bool KeyExists(const std::wstring& path) {
    RegistryKey key;
    return key.Open(path);
}

bool KeyIsEmpty(const std::wstring& path) {
    RegistryKey key;
    uint32_t keys = 0, values = 0;
    uint32_t* unread = nullptr;
    wchar_t* no_class = nullptr;
    void* no_time = nullptr;
    return key.Open(path) &&
           call_declared<int32_t>(kRegQueryInfoKeyW, key.get(), no_class, unread, unread, &keys, unread,
                                  unread, &values, unread, unread, unread, no_time) == 0 &&
           keys == 0 && values == 0;
}

void DeleteKeyTree(const std::wstring& path) {
    call_declared<int32_t>(kRegDeleteTreeW, kCurrentUserKey, path.c_str());
}

void DeleteKeyIfLeaf(const std::wstring& path) {
    call_declared<int32_t>(kRegDeleteKeyW, kCurrentUserKey, path.c_str());
}

void DeleteValue(const std::wstring& path, const wchar_t* name) {
    RegistryKey key;
    if (key.Create(path)) call_declared<int32_t>(kRegDeleteValueW, key.get(), name);
}

std::wstring ProgramFilePath() {
    std::wstring path(kLongestPath, L'\0');
    const uint32_t length =
        call_declared<uint32_t>(kGetModuleFileNameW, static_cast<void*>(nullptr), path.data(), kLongestPath);
    if (length == 0 || length >= kLongestPath) return std::wstring();
    path.resize(length);
    return path;
}

} // namespace brindor::app
