#include "app/signin/win/browser_mode.h"

#include <cstdint>
#include <string>

#include "declared/declared_functions.h"

namespace brindor::app {

namespace {

void* const kCurrentUserKey = reinterpret_cast<void*>(static_cast<uintptr_t>(0x80000001));
constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kDwordValue = 4;
constexpr uint32_t kEdgeMode = 11001;
constexpr uint32_t kLongestPath = 32768;

class RegistryKey {
  public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_) call_declared<int32_t>(kRegCloseKey, key_);
    }
    void* get() const { return key_; }
    void** put() { return &key_; }

  private:
    void* key_ = nullptr;
};

} // namespace

void UseNewestBrowserMode() {
    std::wstring path(kLongestPath, L'\0');
    const uint32_t length =
        call_declared<uint32_t>(kGetModuleFileNameW, static_cast<void*>(nullptr), path.data(), kLongestPath);
    if (length == 0 || length >= kLongestPath) return;
    path.resize(length);
    const std::wstring file_name = path.substr(path.find_last_of(L"\\/") + 1);

    RegistryKey key;
    const wchar_t* no_class = nullptr;
    const void* default_security = nullptr;
    void* disposition = nullptr;
    if (call_declared<int32_t>(kRegCreateKeyExW, kCurrentUserKey, kEmulationKey, 0u, no_class, 0u,
                               kKeySetValue, default_security, key.put(), disposition) != 0)
        return;
    call_declared<int32_t>(kRegSetValueExW, key.get(), file_name.c_str(), 0u, kDwordValue, &kEdgeMode,
                           static_cast<uint32_t>(sizeof kEdgeMode));
}

} // namespace brindor::app
