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
};
// clang-format on

const DllCommand* declared_function_table() {
    return kTable;
}

} // namespace brindor
