#include "app/signin/win/browser_mode.h"

#include <cstdint>
#include <string>

#include "app/registry/win/registry_key.h"
#include "declared/declared_functions.h"

namespace brindor::app {

namespace {

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
constexpr uint32_t kDwordValue = 4;
constexpr uint32_t kEdgeMode = 11001;

} // namespace

void UseNewestBrowserMode() {
    const std::wstring path = ProgramFilePath();
    if (path.empty()) return;
    const std::wstring file_name = path.substr(path.find_last_of(L"\\/") + 1);
    RegistryKey key;
    if (!key.Create(kEmulationKey)) return;
    call_declared<int32_t>(kRegSetValueExW, key.get(), file_name.c_str(), 0u, kDwordValue, &kEdgeMode,
                           static_cast<uint32_t>(sizeof kEdgeMode));
}

} // namespace brindor::app
