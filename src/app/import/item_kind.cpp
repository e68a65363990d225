#include "app/import/item_kind.h"

#include <cstring>
#include <type_traits>

#include "submit/links/info_hash.h"

namespace brindor::app {

namespace {

template <class Unit> unsigned Code(Unit unit) {
    return static_cast<std::make_unsigned_t<Unit>>(unit);
}

template <class Unit> bool IsHexDigit(Unit unit) {
    const unsigned c = Code(unit) | 0x20;
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

template <class Unit> bool IsBase32Digit(Unit unit) {
    const unsigned c = Code(unit);
    return (c >= '2' && c <= '7') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

template <class Unit, class Digit> bool All(const Unit* units, size_t length, Digit is_digit) {
    for (size_t i = 0; i < length; ++i)
        if (!is_digit(units[i])) return false;
    return true;
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
    if ((length == 40 && All(units, length, IsHexDigit<Unit>)) ||
        (length == 32 && All(units, length, IsBase32Digit<Unit>)))
        return ItemKind::kBareHash;
    return ItemKind::kNothing;
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
