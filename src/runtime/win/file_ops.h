// Files designated by file numbers: nonzero integers handed out by `open_file`. The table of
// numbers may be used from any thread; an unknown number is quiet (false, empty, true at the end).
#pragma once
#include "runtime/core/bytes.h"
#include <cstddef>

#include "runtime/core/file_name.h"
#include "runtime/core/text.h"

namespace brindor {

enum FileMode {
    kFileRead = 1,
    kFileWrite = 2,
    kFileReadWrite = 3,
    kFileWriteTruncate = 4,   // created or truncated
    kFileWriteCreate = 5,     // created if missing, never truncated
    kFileReadWriteCreate = 6, // created if missing, never truncated
};

enum FileShare {
    kShareAll = 1,
    kShareDenyRead = 2,
    kShareDenyWrite = 3,
    kShareExclusive = 4,
};

// `name` is GBK. 0 for an empty name, a mode or share out of range, or a failure to open.
int open_file(const char* name, int mode = kFileReadWrite, int share = kShareAll);
int open_file(const FileName& name, int mode = kFileReadWrite, int share = kShareAll);
bool seek_begin(int file_number);
Text read_line(int file_number);
// Up to `count` bytes from the position, which moves past them; empty at the end or on an error.
Bytes read_bytes(int file_number, int count);
// With `stop_at_eof_mark` a position on a 0 or 0x1A byte also counts as the end.
bool at_end_of_file(int file_number, bool stop_at_eof_mark = false);
void close_file(int file_number);

// Creates or replaces the file `name` (GBK) with exactly these bytes; false when any step fails.
bool write_whole_file(const char* name, const void* data, size_t size);
bool write_whole_file(const FileName& name, const void* data, size_t size);
bool write_whole_file(const wchar_t* name, const void* data, size_t size);

} // namespace brindor
