// What an item handed to the program is, whatever handed it over (the command line, a second start,
// a drop, a paste, a watched folder): the one place that decides it.
#pragma once
#include "runtime/core/file_name.h"
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

enum class ItemKind { kNothing, kMagnetLink, kBareHash, kLinkFile, kTorrentFile, kFolder };

enum class OnDisk { kNothing, kFile, kFolder };
// What a name is on disk.
using DiskLookup = OnDisk (*)(const FileName& name);

// A magnet link begins "magnet:?" in any letter case; a bare hash is 40 hex or 32 base32 characters
// and nothing else. Only an item that is neither is looked up on disk: an existing folder, or an
// existing file named .txt or .torrent. Without `look` nothing is a file.
ItemKind KindOfItem(const FileName& item, DiskLookup look);
// A line of text in the program's code page, which is never a file.
ItemKind KindOfText(TextRef text);

// The magnet link a bare-hash item stands for; empty for anything else.
Text BareHashItemMagnet(const FileName& item);

} // namespace brindor::app
