// The system's dialog for choosing a folder.
#pragma once
#include <windows.h>

#include "runtime/core/file_name.h"

namespace brindor {

// Blocks until the dialog closes. True when the user chose a folder of the file system; `chosen`
// then holds its full path. `title` is GBK.
bool choose_folder(HWND owner, const char* title, FileName& chosen);

} // namespace brindor
