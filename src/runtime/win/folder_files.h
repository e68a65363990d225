// A folder that other programs write files into, looked at again and again: its files as they are
// now, and moving them on once taken.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/file_name.h"

namespace brindor {

struct FolderFile {
    std::u16string name; // without the folder
    uint64_t size;
    uint64_t written; // the last write's time, in the system's units
};

// The files of `folder` itself (no subfolders); false when the folder is gone or cannot be read.
bool list_folder_files(const FileName& folder, std::vector<FolderFile>& files);
// Open for reading while no other program may write to it: nobody is still writing it.
bool file_free_to_read(const FileName& name);
// The folder exists afterwards.
bool make_folder(const FileName& name);
// Never replaces a file of the new name.
bool move_file_unreplacing(const FileName& from, const FileName& to);

} // namespace brindor
