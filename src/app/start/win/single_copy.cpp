#include "app/start/win/single_copy.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/program_ids.h"
#include "app/start/command_line.h"
#include "declared/declared_functions.h"
#include "declared/declared_handles.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/window_copy_data.h"

namespace brindor::app {

namespace {

constexpr uint32_t kAlreadyExists = 183;
constexpr uint32_t kTokenQuery = 0x0008;
constexpr int kTokenUser = 1;
// A copy that takes no items this long does not answer (it may hang in a crash's dialog); the
// rest of the 5 s a user waits is this start's own.
constexpr uint32_t kPatience = 4500;
// A full queue empties as the first copy reads it.
constexpr int kRetryStep = 100;

// The user's SID as text ("S-1-5-21-..."); empty when it cannot be read.
std::wstring UserSid() {
    void* opened = nullptr;
    if (!call_declared<int32_t>(kOpenProcessToken, call_declared<void*>(kGetCurrentProcess), kTokenQuery,
                                &opened))
        return std::wstring();
    const KernelHandle token(opened);
    uint32_t size = 0;
    const void* no_buffer = nullptr;
    call_declared<int32_t>(kGetTokenInformation, token.get(), kTokenUser, no_buffer, 0u, &size);
    std::wstring sid;
    // TOKEN_USER begins with the SID's address.
    std::vector<void*> buffer(size / sizeof(void*) + 1);
    if (size &&
        call_declared<int32_t>(kGetTokenInformation, token.get(), kTokenUser, buffer.data(), size, &size)) {
        void* user_sid = buffer.front();
        wchar_t* text = nullptr;
        if (call_declared<int32_t>(kConvertSidToStringSidW, user_sid, &text)) {
            sid = text;
            call_declared<void*>(kLocalFree, text);
        }
    }
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

ForwardAnswer ForwardToFirstCopy(const FileNames& items) {
    const uint32_t started = call_declared<uint32_t>(kGetTickCount);
    const auto left = [&] {
        const uint32_t spent = call_declared<uint32_t>(kGetTickCount) - started;
        return spent >= kPatience ? 0 : static_cast<int>(kPatience - spent);
    };
    HWND window = find_other_copy_window(kMainWindowId, static_cast<int>(kPatience));
    if (!window) return ForwardAnswer::kNoAnswer;
    for (const Bytes& message : ForwardMessages(items)) {
        for (;;) {
            const CopyDataAnswer answer = send_copy_data(window, kForwardTag, message, std::max(left(), 1));
            if (answer == CopyDataAnswer::kTaken) break;
            if (left() <= kRetryStep)
                return answer == CopyDataAnswer::kRefused ? ForwardAnswer::kRefused
                                                          : ForwardAnswer::kNoAnswer;
            delay(kRetryStep);
        }
    }
    return ForwardAnswer::kTaken;
}

int HandOverToFirstCopy(const FileNames& items) {
    switch (ForwardToFirstCopy(items)) {
    case ForwardAnswer::kTaken:
        return 0;
    case ForwardAnswer::kRefused:
        message_box("Brindor已在运行，但没有收下这些链接。请稍后再试。", 0, "提示");
        return 1;
    case ForwardAnswer::kNoAnswer:
        break;
    }
    message_box("Brindor已在运行，但没有响应。请关闭它后再试。", 0, "提示");
    return 1;
}

} // namespace brindor::app
