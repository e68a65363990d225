#include "runtime/win/window/window_copy_data.h"

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/program_window.h"

namespace brindor {

namespace {

constexpr int kFindStep = 50;

struct FindRequest {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK consider_window(HWND window, LPARAM argument) {
    auto* request = reinterpret_cast<FindRequest*>(argument);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || !is_program_window(window)) return TRUE;
    wchar_t caption[256] = L"";
    GetWindowTextW(window, caption, 256);
    if (lstrcmpW(caption, request->caption) != 0) return TRUE;
    request->found = window;
    return FALSE;
}

} // namespace

LRESULT take_copy_data(LoadedWindow& loaded, const COPYDATASTRUCT* data) {
    const CopyDataSettings* settings = loaded.definition.copy_data;
    // Whatever another process sends is read only as far as its own count says.
    if (!settings || !loaded.complete || !data || data->dwData != settings->tag || !data->lpData ||
        data->cbData == 0 || data->cbData > settings->largest || data->cbData % sizeof(char16_t) ||
        loaded.copied_bytes + data->cbData > settings->largest_waiting)
        return FALSE;
    loaded.copied.emplace_back(static_cast<const char16_t*>(data->lpData), data->cbData / sizeof(char16_t));
    loaded.copied_bytes += data->cbData;
    PostMessageW(loaded.handle, kCopyDataTaken, 0, 0);
    return TRUE;
}

void hand_over_copy_data(LoadedWindow& loaded) {
    if (loaded.copied.empty()) return; // posted by someone else
    const std::u16string units = std::move(loaded.copied.front());
    loaded.copied.pop_front();
    loaded.copied_bytes -= units.size() * sizeof(char16_t);
    if (loaded.definition.copy_data->on_data(units.data(), units.size())) bring_to_front(loaded.handle);
}

HWND find_other_copy_window(uint32_t window_id, int timeout_ms) {
    const WindowDefinition* definition = find_window_definition(window_id);
    if (!definition) return nullptr;
    const std::wstring caption = to_wide(definition->caption);
    FindRequest request{caption.c_str(), nullptr};
    for (int waited = 0;; waited += kFindStep) {
        EnumWindows(consider_window, reinterpret_cast<LPARAM>(&request));
        if (request.found || waited >= timeout_ms) return request.found;
        Sleep(kFindStep);
    }
}

CopyDataAnswer send_copy_data(HWND window, uintptr_t tag, const Bytes& data, int timeout_ms) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    COPYDATASTRUCT message{tag, static_cast<DWORD>(data.size()), const_cast<uint8_t*>(data.data())};
    DWORD_PTR taken = FALSE;
    if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message), SMTO_ABORTIFHUNG,
                             static_cast<UINT>(timeout_ms), &taken))
        return CopyDataAnswer::kNoAnswer;
    return taken ? CopyDataAnswer::kTaken : CopyDataAnswer::kRefused;
}

} // namespace brindor
