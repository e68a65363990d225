// A torrent's info-hash as a magnet link names it: 40 hex digits or 32 base32 characters, any
// letter case. Two links name the same torrent when their hashes are equal, whatever else they carry.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

using InfoHash = std::array<uint8_t, 20>;

// A link begins "magnet:?" (any case) and carries an xt parameter.
bool IsMagnetLink(TextRef link);
// False when the link names no BitTorrent info-hash it could be told apart by.
bool ReadInfoHash(TextRef link, InfoHash& hash);
// "magnet:?xt=urn:btih:" and the item when the item is a bare hash and nothing else (40 hex digits
// or 32 base32 characters); empty otherwise.
Text BareHashMagnet(TextRef item);

struct InfoHashHasher {
    size_t operator()(const InfoHash& hash) const;
};

} // namespace brindor
