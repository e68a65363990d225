// Files and folders the user names (the dialog, a drop): UTF-16 names from the user to the file call.
#pragma once
#include <cstddef>

#include "runtime/core/bytes.h"
#include "runtime/core/file_name.h"
#include "runtime/core/text.h"

namespace brindor {

bool is_folder(const FileName& name);
// The files of `folder` (not of its subfolders) that match `pattern` ("*.torrent"), full names, in
// the order of their names regardless of letter case.
FileNames files_of_folder(const FileName& folder, const wchar_t* pattern);

enum class WholeFileRead { Read, CannotOpen, TooLarge };
// The whole file into `bytes` when it holds at most `limit` bytes; a larger one is not read at all.
WholeFileRead read_whole_file(const FileName& name, size_t limit, Bytes& bytes);

// The last element of the path, in the program's code page, for showing.
Text shown_file_name(const FileName& name);

} // namespace brindor
