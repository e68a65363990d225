// Data handed to a window from outside: files dropped as the desktop's shell drops them (a DROPFILES
// block in the target process and a posted WM_DROPFILES), and WM_COPYDATA as another process sends it.
#include <shlobj.h>

#include <vector>

#include "commands.h"
#include "remote_memory.h"
#include "targets.h"

namespace driver {

// Arguments: window, then one or more full paths (Windows form).
Reply drop_files(const Args& args) {
    HWND window = window_arg(args, 0);
    if (args.size() < 2) throw Failure{L"no file to drop"};
    std::wstring names;
    for (size_t i = 1; i < args.size(); ++i)
        names += args[i] + L'\0';
    names += L'\0';
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    const size_t size = sizeof header + names.size() * sizeof(wchar_t);
    RemoteMemory memory(window, size);
    memory.write(0, &header, sizeof header);
    memory.write(sizeof header, names.data(), names.size() * sizeof(wchar_t));
    if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory.address()), 0))
        throw Failure{L"cannot post WM_DROPFILES"};
    // The receiver ends the drop by freeing the block itself.
    memory.hand_over();
    return {};
}

// Arguments: window, dwData, cbData, the UTF-16 text repeated to fill cbData bytes, then 1 to make
// the last unit a NUL, then how many times to send it in a row (1). Answer: the sum of the window's
// answers, or "timeout".
Reply copy_data(const Args& args) {
    HWND window = window_arg(args, 0);
    const size_t size = size_t(number_arg(args, 2, L"size", 0));
    const std::wstring text = args.size() > 3 && !args[3].empty() ? args[3] : L"x";
    std::vector<char> data(size + 1);
    for (size_t i = 0; i < size; ++i)
        data[i] = reinterpret_cast<const char*>(text.data())[i % (text.size() * sizeof(wchar_t))];
    if (number_arg(args, 4, L"ended", 0) && size >= sizeof(wchar_t)) data[size - 2] = data[size - 1] = 0;
    COPYDATASTRUCT message{ULONG_PTR(number_arg(args, 1, L"tag", 0)), DWORD(size), data.data()};
    int64_t answers = 0;
    for (int64_t sent = number_arg(args, 5, L"count", 1); sent > 0; --sent) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message), SMTO_NORMAL,
                                 10000, &answer))
            return Reply().add(L"timeout");
        answers += int64_t(answer);
    }
    return Reply().add(answers);
}

} // namespace driver
