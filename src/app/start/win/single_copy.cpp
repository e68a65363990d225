#include "app/start/win/single_copy.h"

#include <cstdint>
#include <string>
#include <vector>

#include "app/start/command_line.h"
#include "app/windows/ids.h"
#include "declared/declared_functions.h"
#include "runtime/win/window/window_copy_data.h"

namespace brindor::app {

namespace {

constexpr uint32_t kAlreadyExists = 183;
constexpr uint32_t kTokenQuery = 0x0008;
constexpr int kTokenUser = 1;
// The whole hand-over stays within a second.
constexpr int kFindTimeout = 600;
constexpr int kSendTimeout = 300;

// The user's SID as text ("S-1-5-21-..."); empty when it cannot be read.
std::wstring UserSid() {
    void* token = nullptr;
    if (!call_declared<int32_t>(kOpenProcessToken, call_declared<void*>(kGetCurrentProcess), kTokenQuery,
                                &token))
        return std::wstring();
    uint32_t size = 0;
    const void* no_buffer = nullptr;
    call_declared<int32_t>(kGetTokenInformation, token, kTokenUser, no_buffer, 0u, &size);
    std::wstring sid;
    // TOKEN_USER begins with the SID's address.
    std::vector<void*> buffer(size / sizeof(void*) + 1);
    if (size && call_declared<int32_t>(kGetTokenInformation, token, kTokenUser, buffer.data(), size, &size)) {
        void* user_sid = buffer.front();
        wchar_t* text = nullptr;
        if (call_declared<int32_t>(kConvertSidToStringSidW, user_sid, &text)) {
            sid = text;
            call_declared<void*>(kLocalFree, text);
        }
    }
    call_declared<int32_t>(kCloseHandle, token);
    return sid;
}

} // namespace

bool BecomeTheOnlyCopy() {
    const std::wstring name = L"Local\\Brindor-" + UserSid();
    const void* default_security = nullptr;
    call_declared<uint32_t>(kGetLastError); // resolved now, so nothing runs between the two calls below
    // Never closed: the mark goes with the process.
    void* mark = call_declared<void*>(kCreateMutexW, default_security, 0u, name.c_str());
    return !mark || call_declared<uint32_t>(kGetLastError) != kAlreadyExists;
}

bool ForwardToFirstCopy(const FileNames& items) {
    HWND window = find_other_copy_window(kMainWindowId, kFindTimeout);
    if (!window) return false;
    for (const Bytes& message : ForwardMessages(items))
        if (!send_copy_data(window, kForwardTag, message, kSendTimeout)) return false;
    return true;
}

} // namespace brindor::app
