// Links from files and folders the user named: text files of links, .torrent files, and folders of
// .torrent files. The one way from file names to links, whatever named them (the dialog, a drop).
#pragma once
#include <vector>

#include "app/import/item_kind.h"
#include "runtime/core/file_name.h"
#include "runtime/core/text_array.h"

namespace brindor::app {

struct FileFailure {
    FileName file;
    const char* reason;
};

struct LinksAndFailures {
    TextArray links;
    std::vector<FileFailure> failures;
};

// What the name is on disk, for the item classifier.
OnDisk LookOnDisk(const FileName& name);

// Each name in order, as the item classifier sorts it: a .torrent file gives its magnet link; a folder the
// links of its .torrent files (its subfolders are not looked into); a .txt file its lines, as the import
// reads them. What cannot be read is a failure with its reason, and the rest are still taken.
LinksAndFailures LinksFromFiles(const FileNames& names);

// One 提示 box naming up to ten of the files and why each was not taken; nothing when none failed.
void ShowFileFailures(const std::vector<FileFailure>& failures);

} // namespace brindor::app
