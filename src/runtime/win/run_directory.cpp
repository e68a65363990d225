#include <string>

#include "runtime/win/dialog_ops.h"
#include "runtime/win/local_files.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

std::wstring program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2); // a long path: the name was cut short
    }
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    path.resize(slash);
    return path;
}

Text run_directory() {
    const std::wstring folder = program_folder();
    return folder.empty() ? Text() : from_wide(folder.c_str(), static_cast<int>(folder.size()));
}

} // namespace brindor
