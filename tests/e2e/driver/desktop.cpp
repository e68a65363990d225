#include "commands.h"

namespace driver {
namespace {

std::wstring current_desktop;

} // namespace

const std::wstring& desktop_name() {
    return current_desktop;
}

// A desktop of its own, shown as a window of the given size on the display, so that windows get
// title bars in screenshots; the driver and the programs it starts then live on it.
Reply desktop(const Args& args) {
    const std::wstring& name = arg(args, 0, L"name");
    std::wstring size = args.size() > 1 && !args[1].empty() ? args[1] : L"1024x768";
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(size.c_str()),
                       DWORD((size.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    HDESK desk = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desk)
        throw Failure{L"cannot create desktop " + name + L": error " + std::to_wstring(GetLastError())};
    if (!SetThreadDesktop(desk))
        throw Failure{L"cannot switch to desktop: error " + std::to_wstring(GetLastError())};
    current_desktop = name;
    return {};
}

} // namespace driver
