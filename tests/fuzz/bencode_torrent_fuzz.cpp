// A .torrent file's bytes, whatever they are: read as a torrent and, when taken, made a link.
#include <cstddef>
#include <cstdint>

#include "submit/links/torrent_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brindor;
    TorrentParts parts;
    if (ReadTorrent({data, size}, parts) != TorrentFault::None) return 0;
    if (parts.info.data < data || parts.info.data + parts.info.size > data + size) __builtin_trap();
    InfoHash hash{};
    TorrentMagnet(hash, "", parts.trackers);
    return 0;
}
