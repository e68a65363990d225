#include "runtime/win/dialog_ops.h"

#include <string>

#include "runtime/win/text_boundary.h"

namespace brindor {

Text run_directory() {
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
    return from_wide(path.c_str(), static_cast<int>(slash));
}

} // namespace brindor
