// Files dropped on a window, as the desktop's shell drops them: a DROPFILES block in the target
// process and a posted WM_DROPFILES.
#include <shlobj.h>

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

} // namespace driver
