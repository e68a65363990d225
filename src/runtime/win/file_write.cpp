#include <string>

#include "runtime/win/file_handle.h"
#include "runtime/win/file_ops.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

bool write_wide(const wchar_t* path, const void* data, size_t size) {
    if (!*path) return false;
    FileHandle file(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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

} // namespace

bool write_whole_file(const char* name, const void* data, size_t size) {
    return write_wide(to_wide(name).c_str(), data, size);
}

bool write_whole_file(const FileName& name, const void* data, size_t size) {
    return write_wide(wide_units(name), data, size);
}

} // namespace brindor
