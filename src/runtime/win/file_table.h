// The process-wide table of open files by file number, safe for the GUI and worker threads. An
// operation holds its entry alive, so a `close_file` from another thread cannot pull the handle
// from under a read in progress: the handle closes when the last user lets go.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>

#include "runtime/win/file_handle.h"

namespace brindor {

constexpr int kReadAheadSize = 64 * 1024;

struct OpenFile {
    explicit OpenFile(FileHandle h) : handle(std::move(h)) {}
    FileHandle handle;
    std::mutex in_use; // one operation at a time moves the file position
    // Bytes read from the handle beyond the file position, so that reading a line costs no
    // system call: the position is the handle's minus (ahead_end - ahead_next).
    std::unique_ptr<uint8_t[]> ahead;
    int ahead_next = 0;
    int ahead_end = 0;
    int ahead_left() const { return ahead_end - ahead_next; }
};

using OpenFileRef = std::shared_ptr<OpenFile>;

// A fresh nonzero number for `handle`.
int add_open_file(FileHandle handle);
// Null for an unknown number.
OpenFileRef find_open_file(int file_number);
// Forgets the number; null if it was unknown.
OpenFileRef remove_open_file(int file_number);

} // namespace brindor
