#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "submit/links/torrent_link.h"
#ifdef _WIN32
#include "submit/links/win/sha1_digest.h"
#else
#include "sha1_reference.h"
#endif

namespace brindor {
namespace {

// Keys of info out of order, name.utf-8 beside name, the first tracker again in announce-list.
const std::string kInfo = "d6:pieces20:01234567890123456789"
                          "4:name3:abc"
                          "10:name.utf-8"
                          "7:\xe4\xb8\xad\xe6\x96\x87"
                          "x12:piece lengthi16384e6:lengthi5ee";
const std::string kTorrent = "d8:announce11:udp://t1:80"
                             "13:announce-listll11:udp://t1:8013:http://t2/a bel8:udp://t3ee"
                             "4:info" +
                             kInfo + "e";

std::string MagnetOf(const std::string& file, TorrentFault& fault) {
    TorrentParts parts;
    fault = ReadTorrent({reinterpret_cast<const uint8_t*>(file.data()), file.size()}, parts);
    if (fault != TorrentFault::None) return "";
    InfoHash hash{};
#ifdef _WIN32
    Sha1Digest sha1;
    EXPECT_TRUE(sha1.digest(parts.info, hash));
#else
    hash = ReferenceSha1(parts.info.data, parts.info.size);
#endif
    return TorrentMagnet(hash,
                         std::string(reinterpret_cast<const char*>(parts.name.data), parts.name.size).c_str(),
                         parts.trackers)
        .c_str();
}

TEST(TorrentLink, HashOfTheInfoAsWrittenNameAndDistinctTrackers) {
    TorrentFault fault;
    EXPECT_EQ(MagnetOf(kTorrent, fault), "magnet:?xt=urn:btih:32fcb32e1fa553a406e4248e40f36ddef80ff48d"
                                         "&dn=%E4%B8%AD%E6%96%87x&tr=udp%3A%2F%2Ft1%3A80"
                                         "&tr=http%3A%2F%2Ft2%2Fa%20b&tr=udp%3A%2F%2Ft3");
    std::string tiers;
    for (int i = 0; i < 25; ++i)
        tiers.append("l9:udp://t").append(1, char('0' + i % 10)).append(1, char('0' + i / 10)).append("e");
    const std::string many = "d13:announce-listl" + tiers + "e4:info" + kInfo + "e";
    const std::string links = MagnetOf(many, fault);
    EXPECT_TRUE(links.ends_with("&tr=udp%3A%2F%2Ft91")) << links; // the 20th of 25
    EXPECT_TRUE(
        MagnetOf("d4:infod4:name3:abc10:name.utf-82:\326\3206:pieces0:ee", fault).ends_with("&dn=abc"));
}

TEST(TorrentLink, HostileFilesGiveOneReasonAndNoCrash) {
    std::string junk(4096, '\0');
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string nested(64, 'l'), closed(64, 'e');
    const std::string hugely_nested = std::string(100000, 'l') + std::string(100000, 'e');
    struct Case {
        const char* label;
        std::string file;
        TorrentFault fault;
    };
    const std::vector<Case> cases = {
        {"nested 100000 deep", hugely_nested, TorrentFault::NotTorrent},
        {"nested 100000 deep in info", "d4:info" + hugely_nested + "e", TorrentFault::NotTorrent},
        {"64 deep is allowed", "d1:x" + nested.substr(1) + closed.substr(1) + "4:info" + kInfo + "e",
         TorrentFault::None},
        {"65 deep is not", "d1:x" + nested + closed + "4:info" + kInfo + "e", TorrentFault::NotTorrent},
        {"length of 20 digits", "d4:info99999999999999999999:xe", TorrentFault::NotTorrent},
        {"integer of 30 digits", "d1:ai" + std::string(30, '7') + "e4:info" + kInfo + "e",
         TorrentFault::NotTorrent},
        {"i-0e", "d1:ai-0e4:info" + kInfo + "e", TorrentFault::NotTorrent},
        {"leading zero", "d1:ai07e4:info" + kInfo + "e", TorrentFault::NotTorrent},
        {"largest 64-bit integers", "d1:ai9223372036854775807e1:bi-9223372036854775808e4:info" + kInfo + "e",
         TorrentFault::None},
        {"one past them", "d1:ai9223372036854775808e4:info" + kInfo + "e", TorrentFault::NotTorrent},
        {"key that is no string", "di1ei2e4:info" + kInfo + "e", TorrentFault::NotTorrent},
        {"info twice", "d4:info" + kInfo + "1:x0:4:info" + kInfo + "e", TorrentFault::NotTorrent},
        {"bytes after the end", kTorrent + "x", TorrentFault::NotTorrent},
        {"no info", "d8:announce3:abce", TorrentFault::NotTorrent},
        {"info without pieces", "d4:infod4:name1:xee", TorrentFault::NotTorrent},
        {"only version 2", "d4:infod12:meta versioni2e4:name1:x9:file treedeee", TorrentFault::V2Only},
        {"50 MiB", std::string(50 << 20, 'd'), TorrentFault::TooLarge},
        {"binary junk", junk, TorrentFault::NotTorrent},
    };
    TorrentFault fault;
    for (const Case& c : cases) {
        MagnetOf(c.file, fault);
        EXPECT_EQ(fault, c.fault) << c.label;
    }
    for (size_t length = 0; length < kTorrent.size(); ++length) {
        MagnetOf(kTorrent.substr(0, length), fault);
        EXPECT_EQ(fault, TorrentFault::NotTorrent) << length;
    }
}

} // namespace
} // namespace brindor
