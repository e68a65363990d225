#include <string>

#include "runtime/win/file_handle.h"
#include "runtime/win/file_ops.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

bool write_all(HANDLE file, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool write_whole_file(const wchar_t* name, const void* data, size_t size) {
    if (!*name) return false;
    FileHandle file(
        CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && write_all(file.get(), data, size);
}

bool write_whole_file(const char* name, const void* data, size_t size) {
    return write_whole_file(to_wide(name).c_str(), data, size);
}

bool write_whole_file(const FileName& name, const void* data, size_t size) {
    return write_whole_file(wide_units(name), data, size);
}

} // namespace brindor
