// Owner of a Windows file handle.
#pragma once
#include <windows.h>

#include <cstddef>

#include "runtime/win/owned.h"

namespace brindor {

// Opening a file fails with INVALID_HANDLE_VALUE, some other calls with null.
struct FileCloseTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static bool is_valid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static void close(Handle handle) { CloseHandle(handle); }
};
using FileHandle = Owned<FileCloseTraits>;

// Hands every byte to the system, in as many writes as it takes.
bool write_all(HANDLE file, const void* data, size_t size);

} // namespace brindor
