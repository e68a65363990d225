#include <string>

#include "runtime/win/file_handle.h"
#include "runtime/win/file_ops.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

bool write_whole_file(const char* name, const void* data, size_t size) {
    const std::wstring path = to_wide(name);
    if (path.empty()) return false;
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

} // namespace brindor
