#include "app/import/item_kind.h"

#include <cstring>
#include <type_traits>

#include "submit/links/info_hash.h"

namespace brindor::app {

namespace {

template <class Unit> unsigned Code(Unit unit) {
    return static_cast<std::make_unsigned_t<Unit>>(unit);
}

// A bare info-hash by the rule a magnet link's own hash is read with; only ASCII can be one.
template <class Unit> bool IsBareHash(const Unit* units, size_t length) {
    if (length != 40 && length != 32) return false;
    char ascii[41] = {};
    for (size_t i = 0; i < length; ++i) {
        const unsigned c = Code(units[i]);
        if (c == 0 || c >= 0x80) return false;
        ascii[i] = static_cast<char>(c);
    }
    return !BareHashMagnet(ascii).empty();
}

// Only ASCII decides: a byte of a multi-byte character never matches.
template <class Unit> ItemKind KindOfLink(const Unit* units, size_t length) {
    constexpr char kMagnet[] = "magnet:?";
    constexpr size_t kMagnetLength = sizeof kMagnet - 1;
    bool magnet = length >= kMagnetLength;
    for (size_t i = 0; magnet && i < kMagnetLength; ++i) {
        const unsigned c = Code(units[i]);
        magnet = (c >= 'A' && c <= 'Z' ? c | 0x20 : c) == static_cast<unsigned>(kMagnet[i]);
    }
    if (magnet) return ItemKind::kMagnetLink;
    return IsBareHash(units, length) ? ItemKind::kBareHash : ItemKind::kNothing;
}

} // namespace

ItemKind KindOfItem(const FileName& item, DiskLookup look) {
    const ItemKind link = KindOfLink(item.units(), item.length());
    if (link != ItemKind::kNothing || !look || item.empty()) return link;
    switch (look(item)) {
    case OnDisk::kFolder:
        return ItemKind::kFolder;
    case OnDisk::kFile:
        if (item.has_extension("txt")) return ItemKind::kLinkFile;
        if (item.has_extension("torrent")) return ItemKind::kTorrentFile;
        return ItemKind::kNothing;
    case OnDisk::kNothing:
        break;
    }
    return ItemKind::kNothing;
}

ItemKind KindOfText(TextRef text) {
    return KindOfLink(text.c_str(), std::strlen(text.c_str()));
}

Text BareHashItemMagnet(const FileName& item) {
    if (KindOfItem(item, nullptr) != ItemKind::kBareHash) return Text();
    Text ascii = Text::with_length(item.length());
    for (size_t i = 0; i < item.length(); ++i)
        ascii.data()[i] = static_cast<char>(item.units()[i]);
    return BareHashMagnet(ascii);
}

} // namespace brindor::app
