#include "declared/declared_functions.h"

namespace brindor {

// clang-format off
static const DllCommand kTable[kDeclaredFunctionCount] = {
    {"wininet.dll", "InternetOpenA"},        {"wininet.dll", "InternetConnectA"},
    {"wininet.dll", "HttpOpenRequestA"},     {"wininet.dll", "HttpSendRequestA"},
    {"wininet.dll", "HttpSendRequestA"},     {"wininet.dll", "InternetReadFile"},
    {"wininet.dll", "HttpQueryInfoA"},       {"wininet.dll", "InternetCloseHandle"},
    {"wininet.dll", "InternetGetCookieA"},   {"wininet.dll", "InternetGetCookieExA"},
    {"kernel32.dll", "MultiByteToWideChar"}, {"kernel32.dll", "MultiByteToWideChar"},
    {"kernel32.dll", "WideCharToMultiByte"}, {"kernel32.dll", "WideCharToMultiByte"},
    {"kernel32.dll", "WideCharToMultiByte"}, {"kernel32.dll", "CreateThread"},
    {"kernel32.dll", "CloseHandle"},         {"ole32.dll", "CoInitialize"},
    {"ole32.dll", "CoUninitialize"},
    {"wininet.dll", "InternetSetOptionA"},   {"wininet.dll", "InternetQueryDataAvailable"},
    {"wininet.dll", "DeleteUrlCacheEntryA"}, {"user32.dll", "MsgWaitForMultipleObjects"},
    {"kernel32.dll", "GetTickCount"},
    {"kernel32.dll", "GetModuleFileNameW"},  {"advapi32.dll", "RegCreateKeyExW"},
    {"advapi32.dll", "RegSetValueExW"},      {"advapi32.dll", "RegCloseKey"},
    {"wininet.dll", "InternetSetCookieExA"},
    {"user32.dll", "GetDoubleClickTime"},
    {"advapi32.dll", "CryptAcquireContextW"}, {"advapi32.dll", "CryptCreateHash"},
    {"advapi32.dll", "CryptHashData"},        {"advapi32.dll", "CryptGetHashParam"},
    {"advapi32.dll", "CryptDestroyHash"},     {"advapi32.dll", "CryptReleaseContext"},
    {"kernel32.dll", "GetCommandLineW"},     {"kernel32.dll", "GetFullPathNameW"},
    {"kernel32.dll", "GetFileAttributesW"},  {"kernel32.dll", "CreateMutexW"},
    {"kernel32.dll", "GetLastError"},        {"kernel32.dll", "GetCurrentProcess"},
    {"advapi32.dll", "OpenProcessToken"},    {"advapi32.dll", "GetTokenInformation"},
    {"advapi32.dll", "ConvertSidToStringSidW"}, {"kernel32.dll", "LocalFree"},
    {"advapi32.dll", "RegOpenKeyExW"},       {"advapi32.dll", "RegQueryValueExW"},
    {"advapi32.dll", "RegDeleteTreeW"},      {"advapi32.dll", "RegDeleteValueW"},
    {"advapi32.dll", "RegDeleteKeyW"},       {"shell32.dll", "SHChangeNotify"},
    {"shell32.dll", "ShellExecuteW"},        {"ntdll.dll", "RtlGetVersion"},
    {"advapi32.dll", "RegQueryInfoKeyW"},
    {"user32.dll", "IsWindowEnabled"},
};
// clang-format on

const DllCommand* declared_function_table() {
    return kTable;
}

void register_declared_functions() {
    static const bool registered = (register_dll_commands(kTable, kDeclaredFunctionCount), true);
    (void)registered;
}

} // namespace brindor
