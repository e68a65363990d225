// The program's settings: one section of one file in the program's roaming settings folder (beside
// the executable in portable mode), UTF-16 with a byte-order mark so that any folder name survives.
// Texts are GBK. A file written by a newer version is neither read nor changed; a damaged one
// reads as empty and is started afresh at the next write.
#pragma once
#include "runtime/core/text.h"

namespace brindor {

// Where the settings live, named by the program once at start before any is read: its folder under
// the roaming settings folder, the file's name and the section. Until then nothing is read or written.
void use_settings_file(const wchar_t* folder, const wchar_t* file_name, const wchar_t* section);

// Empty when the file, the key or the folder is missing.
Text read_setting(const char* key);
// Written at once; quietly nothing when the folder cannot be had.
void write_setting(const char* key, const char* value);

} // namespace brindor
