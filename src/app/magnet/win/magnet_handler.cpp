#include "app/magnet/win/magnet_handler.h"

#include <cstdint>
#include <string>

#include "app/registry/win/registry_key.h"
#include "declared/declared_functions.h"
#include "runtime/win/dialog_ops.h"

namespace brindor::app {

namespace {

const std::wstring kHandlerKey = L"Software\\Classes\\Brindor.Magnet";
const std::wstring kMagnetKey = L"Software\\Classes\\magnet";
const std::wstring kProgramKey = L"Software\\Brindor";
const std::wstring kCapabilitiesKey = kProgramKey + L"\\Capabilities";
const std::wstring kRegisteredKey = L"Software\\RegisteredApplications";
const std::wstring kCommandPath = L"\\shell\\open\\command";
// Where Windows keeps the opener the user chose; it wins over the magnet key.
const std::wstring kUserChoiceKey =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\magnet\\UserChoice";
// On the program's key: the list of registered programs was made by it, so it goes with it.
constexpr wchar_t kMadeRegisteredMark[] = L"MadeRegisteredApplications";
constexpr wchar_t kHandlerName[] = L"Brindor.Magnet";
constexpr wchar_t kProtocolName[] = L"URL:Magnet link";
constexpr wchar_t kApplicationName[] = L"Brindor";
constexpr wchar_t kDescription[] = L"把磁力链接批量交给离线下载服务";
constexpr wchar_t kDefaultAppsPage[] = L"ms-settings:defaultapps?registeredAppUser=Brindor";
constexpr uint32_t kAssociationsChanged = 0x08000000; // SHCNE_ASSOCCHANGED
constexpr int kShowNormal = 1;
constexpr uint32_t kFirstWithDefaultAppsPage = 10;

struct SystemVersion {
    uint32_t size = sizeof(SystemVersion);
    uint32_t major = 0, minor = 0, build = 0, platform = 0;
    char16_t service_pack[128] = {};
};

// ASCII letters in any case: the same path may be spelled either way.
bool SameCommand(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](wchar_t c) {
            return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The marker tells a handler's link from the items of a command line.
std::wstring OwnCommand() {
    return L"\"" + ProgramFilePath() + L"\" --url \"%1\"";
}

// Ended a web page's link at its first quote.
std::wstring OlderCommand() {
    return L"\"" + ProgramFilePath() + L"\" -- \"%1\"";
}

bool WriteProtocolKey(const std::wstring& path, const std::wstring& command) {
    RegistryKey key, open;
    return key.Create(path) && key.SetText(L"", kProtocolName) && key.SetText(L"URL Protocol", L"") &&
           open.Create(path + kCommandPath) && open.SetText(L"", command);
}

bool Register() {
    const std::wstring command = OwnCommand();
    const std::wstring earlier = DefaultText(kHandlerKey + kCommandPath);
    const std::wstring magnet = DefaultText(kMagnetKey + kCommandPath);
    // Another program's key stays as it is; ours (from here or an earlier place) is brought up to date.
    const bool magnet_ours = !KeyExists(kMagnetKey) || SameCommand(magnet, command) ||
                             SameCommand(magnet, OlderCommand()) ||
                             (!earlier.empty() && SameCommand(magnet, earlier));
    const bool registered_made = !KeyExists(kRegisteredKey);
    RegistryKey icon, capabilities, associations, registered, program;
    const bool written =
        WriteProtocolKey(kHandlerKey, command) && icon.Create(kHandlerKey + L"\\DefaultIcon") &&
        icon.SetText(L"", ProgramFilePath()) && capabilities.Create(kCapabilitiesKey) &&
        capabilities.SetText(L"ApplicationName", kApplicationName) &&
        capabilities.SetText(L"ApplicationDescription", kDescription) &&
        associations.Create(kCapabilitiesKey + L"\\URLAssociations") &&
        associations.SetText(L"magnet", kHandlerName) && registered.Create(kRegisteredKey) &&
        registered.SetText(kApplicationName, kCapabilitiesKey) &&
        (!registered_made || (program.Create(kProgramKey) && program.SetText(kMadeRegisteredMark, L"1")));
    if (written && magnet_ours) WriteProtocolKey(kMagnetKey, command);
    return written;
}

bool MadeRegisteredList() {
    RegistryKey program;
    std::wstring mark;
    return program.Open(kProgramKey) && program.ReadText(kMadeRegisteredMark, mark);
}

void Unregister() {
    const std::wstring earlier = DefaultText(kHandlerKey + kCommandPath);
    const std::wstring magnet = DefaultText(kMagnetKey + kCommandPath);
    if (!magnet.empty() && (SameCommand(magnet, OwnCommand()) || SameCommand(magnet, OlderCommand()) ||
                            SameCommand(magnet, earlier)))
        DeleteKeyTree(kMagnetKey);
    const bool registered_made = MadeRegisteredList();
    DeleteKeyTree(kHandlerKey);
    DeleteKeyTree(kCapabilitiesKey);
    DeleteKeyIfLeaf(kProgramKey);
    RegistryKey registered;
    std::wstring value;
    if (registered.Open(kRegisteredKey) && registered.ReadText(kApplicationName, value) &&
        SameCommand(value, kCapabilitiesKey))
        DeleteValue(kRegisteredKey, kApplicationName);
    if (registered_made && KeyIsEmpty(kRegisteredKey)) DeleteKeyIfLeaf(kRegisteredKey);
}

bool HasDefaultAppsPage() {
    SystemVersion version;
    return call_declared<int32_t>(kRtlGetVersion, &version) == 0 &&
           version.major >= kFirstWithDefaultAppsPage;
}

bool OpenDefaultAppsPage() {
    const wchar_t* none = nullptr;
    const void* no_window = nullptr;
    return HasDefaultAppsPage() && call_declared<uintptr_t>(kShellExecuteW, no_window, L"open",
                                                            kDefaultAppsPage, none, none, kShowNormal) > 32;
}

} // namespace

bool IsMagnetHandler() {
    const std::wstring own = OwnCommand();
    RegistryKey user_choice;
    std::wstring chosen;
    if (user_choice.Open(kUserChoiceKey) && user_choice.ReadText(L"ProgId", chosen))
        return SameCommand(chosen, kHandlerName) && SameCommand(DefaultText(kHandlerKey + kCommandPath), own);
    return SameCommand(DefaultText(kMagnetKey + kCommandPath), own);
}

void RenewMagnetHandler() {
    const void* none = nullptr;
    if (SameCommand(DefaultText(kHandlerKey + kCommandPath), OlderCommand()) && Register())
        call_declared<void>(kSHChangeNotify, kAssociationsChanged, 0u, none, none);
}

void ToggleMagnetHandler() {
    const void* none = nullptr;
    if (IsMagnetHandler()) {
        Unregister();
        call_declared<void>(kSHChangeNotify, kAssociationsChanged, 0u, none, none);
        return;
    }
    if (!Register()) {
        message_box("未能写入注册表，没有设为磁力链接的打开程序。", 0, "提示");
        return;
    }
    call_declared<void>(kSHChangeNotify, kAssociationsChanged, 0u, none, none);
    if (OpenDefaultAppsPage()) return;
    message_box(
        "已设为可打开磁力链接。如果点击网页上的磁力链接时打开的不是Brindor，请在“控制面板 → 默认程序 → "
        "设置默认程序”中选择Brindor，再选“将此程序设置为默认值”。",
        0, "提示");
}

} // namespace brindor::app
