// The application's own table of declared Windows functions. Every call goes through
// call_dll_command, so each one is resolved on first use and followed by the stack check.
#pragma once
#include "runtime/win/dll_command.h"

namespace brindor {

enum DeclaredFunction {
    // wininet.dll
    kInternetOpenA,
    kInternetConnectA,
    kHttpOpenRequestA,
    kHttpSendRequestText,  // HttpSendRequestA with a text body
    kHttpSendRequestBytes, // HttpSendRequestA with a byte-set body
    kInternetReadFile,
    kHttpQueryInfoA,
    kInternetCloseHandle,
    kInternetGetCookieA,
    kInternetGetCookieExA,
    // kernel32.dll: the code-page conversions, declared once per buffer type
    kMultiByteToWideCharFromText,
    kMultiByteToWideCharFromBytes,
    kWideCharToMultiByteToText,
    kWideCharToMultiByteToBytes,
    kWideCharToMultiByteFromText,
    kCreateThread,
    kCloseHandle,
    // ole32.dll
    kCoInitialize,
    kCoUninitialize,
    // wininet.dll: time-outs and reads that never wait for a full buffer
    kInternetSetOptionA,
    kInternetQueryDataAvailable,
    kDeleteUrlCacheEntryA,
    // user32.dll and kernel32.dll: waiting for a request's thread no longer than the call's time limit
    kMsgWaitForMultipleObjects,
    kGetTickCount,
    // Sign-in: the browser control's document mode for this program, and cookies pasted by the user
    kGetModuleFileNameW,
    kRegCreateKeyExW,
    kRegSetValueExW,
    kRegCloseKey,
    kInternetSetCookieExA,
    // user32.dll: a second click of a double click is not a new command
    kGetDoubleClickTime,
    // advapi32.dll: SHA-1 of a torrent's info
    kCryptAcquireContextW,
    kCryptCreateHash,
    kCryptHashData,
    kCryptGetHashParam,
    kCryptDestroyHash,
    kCryptReleaseContext,
    // One copy per user session, and the items a start hands over
    kGetCommandLineW,
    kGetFullPathNameW,
    kGetFileAttributesW,
    kCreateMutexW,
    kGetLastError,
    kGetCurrentProcess,
    kOpenProcessToken,
    kGetTokenInformation,
    kConvertSidToStringSidW,
    kLocalFree,
    // The magnet handler: the user's registry, the shell and the system's version
    kRegOpenKeyExW,
    kRegQueryValueExW,
    kRegDeleteTreeW,
    kRegDeleteValueW,
    kRegDeleteKeyW,
    kSHChangeNotify,
    kShellExecuteW,
    kRtlGetVersion,
    // The magnet handler removes the list of registered programs only when it made it and it is empty
    kRegQueryInfoKeyW,
    // user32.dll: links that come by themselves wait while a box holds the main window
    kIsWindowEnabled,
    kDeclaredFunctionCount
};

const DllCommand* declared_function_table();

// Once per process, whichever call comes first: registering again would drop every resolved entry.
void register_declared_functions();

template <class R = uint32_t, class... Args> R call_declared(DeclaredFunction function, Args... args) {
    register_declared_functions();
    return call_dll_command<R>(function, args...);
}

} // namespace brindor
