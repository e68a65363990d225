// A .torrent file as the magnet link that names the same torrent. The file comes from outside:
// it is read by the bounded bencode reader and its pieces are never copied.
#pragma once
#include <cstddef>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/links/bencode.h"
#include "submit/links/info_hash.h"

namespace brindor {

constexpr size_t kLargestTorrentFile = 16 * 1024 * 1024;
constexpr size_t kMostTrackers = 20;

enum class TorrentFault { None, NotTorrent, TooLarge, V2Only };

// The reason shown beside the file's name.
const char* TorrentFaultText(TorrentFault fault);

struct TorrentParts {
    ByteSpan info;                  // the info dictionary exactly as it stands in the file
    ByteSpan name;                  // "name.utf-8" when the info has it, else "name"
    std::vector<ByteSpan> trackers; // announce, then announce-list, each once, at most kMostTrackers
};

TorrentFault ReadTorrent(ByteSpan file, TorrentParts& parts);

bool IsUtf8(ByteSpan bytes);

// "magnet:?xt=urn:btih:" and 40 lower-case hex digits, "&dn=" and the UTF-8 name percent-encoded
// (left out when empty), then "&tr=" and each tracker percent-encoded.
Text TorrentMagnet(const InfoHash& hash, TextRef name_utf8, const std::vector<ByteSpan>& trackers);

} // namespace brindor
