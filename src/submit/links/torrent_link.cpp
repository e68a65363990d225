#include "submit/links/torrent_link.h"

#include <cstring>

#include "runtime/core/text_builder.h"
#include "text/percent_encode.h"

namespace brindor {

namespace {

constexpr char kMagnetStart[] = "magnet:?xt=urn:btih:";

bool SameBytes(ByteSpan a, ByteSpan b) {
    return a.size == b.size && (a.size == 0 || std::memcmp(a.data, b.data, a.size) == 0);
}

void AddTracker(std::vector<ByteSpan>& trackers, const BencodeValue& value) {
    if (value.kind != BencodeKind::String || value.string.size == 0 || trackers.size() >= kMostTrackers)
        return;
    for (const ByteSpan& known : trackers)
        if (SameBytes(known, value.string)) return;
    trackers.push_back(value.string);
}

// announce-list is a list of tiers, each a list of URLs.
void AddTrackerTiers(std::vector<ByteSpan>& trackers, const BencodeValue& tiers) {
    if (tiers.kind != BencodeKind::List) return;
    BencodeMembers each_tier(tiers);
    for (BencodeValue tier; each_tier.next(tier);) {
        BencodeMembers each_url(tier);
        for (BencodeValue url; each_url.next(url);)
            AddTracker(trackers, url);
    }
}

TorrentFault ReadInfo(const BencodeValue& info, TorrentParts& parts) {
    if (info.kind != BencodeKind::Dictionary) return TorrentFault::NotTorrent;
    ByteSpan name, name_utf8;
    bool has_pieces = false, version_2 = false;
    BencodeMembers members(info);
    ByteSpan key;
    for (BencodeValue value; members.next(key, value);) {
        if (key.equals("pieces"))
            has_pieces = value.kind == BencodeKind::String;
        else if (key.equals("meta version"))
            version_2 = value.kind == BencodeKind::Integer && value.integer == 2;
        else if (key.equals("name") && value.kind == BencodeKind::String)
            name = value.string;
        else if (key.equals("name.utf-8") && value.kind == BencodeKind::String)
            name_utf8 = value.string;
    }
    if (!has_pieces) return version_2 ? TorrentFault::V2Only : TorrentFault::NotTorrent;
    parts.info = info.raw;
    // A name.utf-8 that is no UTF-8 would put another code page's bytes into the link.
    parts.name = name_utf8.size && IsUtf8(name_utf8) ? name_utf8 : name;
    return TorrentFault::None;
}

void AppendPercentEncoded(TextBuilder& out, const char* field, TextRef bytes) {
    const Text encoded = PercentEncodeFormValue(bytes);
    out.append(field, std::strlen(field));
    out.append(encoded.c_str(), encoded.length());
}

} // namespace

const char* TorrentFaultText(TorrentFault fault) {
    switch (fault) {
    case TorrentFault::None:
        break;
    case TorrentFault::NotTorrent:
        return "不是有效的种子文件";
    case TorrentFault::TooLarge:
        return "文件太大";
    case TorrentFault::V2Only:
        return "仅支持v1种子";
    }
    return "";
}

TorrentFault ReadTorrent(ByteSpan file, TorrentParts& parts) {
    if (file.size > kLargestTorrentFile) return TorrentFault::TooLarge;
    BencodeValue top;
    if (!ReadBencodeValue(file, 0, top) || top.raw.size != file.size || top.kind != BencodeKind::Dictionary)
        return TorrentFault::NotTorrent;
    TorrentParts read;
    BencodeValue info, announce, tiers;
    BencodeMembers members(top);
    ByteSpan key;
    for (BencodeValue value; members.next(key, value);) {
        if (key.equals("info"))
            info = value;
        else if (key.equals("announce"))
            announce = value;
        else if (key.equals("announce-list"))
            tiers = value;
    }
    if (info.raw.size == 0) return TorrentFault::NotTorrent;
    if (const TorrentFault fault = ReadInfo(info, read); fault != TorrentFault::None) return fault;
    AddTracker(read.trackers, announce);
    AddTrackerTiers(read.trackers, tiers);
    parts = std::move(read);
    return TorrentFault::None;
}

bool IsUtf8(ByteSpan bytes) {
    const uint8_t* p = bytes.data;
    const uint8_t* end = p + bytes.size;
    while (p < end) {
        const uint8_t lead = *p++;
        if (lead < 0x80) continue;
        int more;
        uint32_t least;
        if (lead >= 0xC2 && lead <= 0xDF)
            more = 1, least = 0x80;
        else if (lead >= 0xE0 && lead <= 0xEF)
            more = 2, least = 0x800;
        else if (lead >= 0xF0 && lead <= 0xF4)
            more = 3, least = 0x10000;
        else
            return false;
        if (end - p < more) return false;
        uint32_t code = lead & (0x3F >> more);
        for (int i = 0; i < more; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) return false;
            code = code << 6 | (*p & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    }
    return true;
}

Text TorrentMagnet(const InfoHash& hash, TextRef name_utf8, const std::vector<ByteSpan>& trackers) {
    static const char kHex[] = "0123456789abcdef";
    TextBuilder out(128);
    out.append(kMagnetStart, sizeof kMagnetStart - 1);
    for (uint8_t b : hash) {
        out.append(kHex[b >> 4]);
        out.append(kHex[b & 0x0F]);
    }
    if (*name_utf8.c_str()) AppendPercentEncoded(out, "&dn=", name_utf8);
    for (const ByteSpan& tracker : trackers)
        AppendPercentEncoded(out, "&tr=", Text(reinterpret_cast<const char*>(tracker.data), tracker.size));
    return out.take();
}

} // namespace brindor
