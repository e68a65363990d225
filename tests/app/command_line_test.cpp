#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/import/item_kind.h"
#include "app/start/command_line.h"

namespace brindor::app {
namespace {

using Strings = std::vector<std::u16string>;

Strings Units(const FileNames& names) {
    Strings units;
    for (const FileName& name : names)
        units.emplace_back(name.units(), name.length());
    return units;
}

TEST(CommandLine, SplitsLikeTheRuntimeAndKeepsItemsAfterTheSeparator) {
    const std::pair<const char16_t*, Strings> cases[] = {
        {u"brindor.exe", {}},
        {u"\"C:\\a b\\brindor.exe\" --unknown -x \"C:\\My Links\\l.txt\" ABC",
         {u"C:\\My Links\\l.txt", u"ABC"}},
        {u"b.exe -- -dash --  \"\"", {u"-dash", u"--"}},
        // A quote inside a link from a web page ends the quoted argument; what follows stays an item.
        {u"\"b.exe\" -- \"magnet:?xt=urn:btih:1&dn=a\" --evil\"", {u"magnet:?xt=urn:btih:1&dn=a", u"--evil"}},
        {u"b.exe a\\\\\\\"b \"c\\\\\" d\"\"\"e\"", {u"a\\\"b", u"c\\", u"d\"e"}},
        {u"b.exe\t\tx\\y\\ ", {u"x\\y\\"}},
    };
    for (const auto& [line, items] : cases)
        EXPECT_EQ(Units(CommandLineItems(CommandLineArguments(line))), items);
}

FileName Item(const char16_t* units) {
    return FileName(units, std::char_traits<char16_t>::length(units));
}

TEST(CommandLine, AHandlersLinkIsEverythingAfterItsMarker) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"\"C:\\b.exe\" --url \"magnet:?xt=1&dn=a\" \"Z:\\private.txt\"",
         u"magnet:?xt=1&dn=a\" \"Z:\\private.txt"},
        {u"b.exe --url  MAGNET:?xt=1 \\\\host\\share\\x.txt ", u"MAGNET:?xt=1 \\\\host\\share\\x.txt"},
        {u"b.exe --url \"\"magnet:?xt=1\"\"", u""}, // one pair of quotes only: a quote is left first
        {u"b.exe --url \"Z:\\private.txt\" \"magnet:?xt=1\"", u""},
        {u"b.exe --url C12FE1C06BBA254A9DC9F519B335AA7C1367A88A", u""},
        {u"b.exe --url", u""},
        {u"b.exe --url \"", u""},
    };
    for (const auto& [line, link] : cases) {
        FileName read = Item(u"left");
        ASSERT_TRUE(ReadHandlerLink(line, read));
        EXPECT_EQ(std::u16string(read.units(), read.length()), link);
    }
    FileName untouched;
    for (const char16_t* other :
         {u"b.exe -- --url magnet:?xt=1", u"b.exe --urls magnet:?xt=1", u"b.exe", u"--url"})
        EXPECT_FALSE(ReadHandlerLink(other, untouched)) << std::u16string(other).size();
}

OnDisk NoDisk(const FileName&) {
    ADD_FAILURE() << "a link looked up on disk";
    return OnDisk::kNothing;
}
OnDisk AFile(const FileName&) {
    return OnDisk::kFile;
}
OnDisk AFolder(const FileName&) {
    return OnDisk::kFolder;
}
OnDisk Missing(const FileName&) {
    return OnDisk::kNothing;
}

TEST(ItemKind, OneTableForEveryWayIn) {
    using K = ItemKind;
    const struct {
        const char16_t* item;
        DiskLookup look;
        ItemKind kind;
    } cases[] = {
        {u"MAGNET:?xt=1", NoDisk, K::kMagnetLink},
        {u"magnet:?", NoDisk, K::kMagnetLink},
        {u"magnet:?xt=1\" \"Z:\\private.txt", NoDisk, K::kMagnetLink},
        {u"C12FE1C06BBA254A9DC9F519B335AA7C1367A88A", NoDisk, K::kBareHash},
        {u"yex6dqdlxisuvhoj6um3gnnkpqjwpkek", NoDisk, K::kBareHash},
        {u"magnet:xt=1", Missing, K::kNothing},
        {u" magnet:?xt=1", Missing, K::kNothing},
        {u"C12FE1C06BBA254A9DC9F519B335AA7C1367A88", Missing, K::kNothing},       // 39
        {u"C12FE1C06BBA254A9DC9F519B335AA7C1367A88G", Missing, K::kNothing},      // no hex digit
        {u"YEX6DQDLXISUVHOJ6UM3GNNKPQJWPKE1", Missing, K::kNothing},              // 1 is no base32 digit
        {u"C12FE1C06BBA254A9DC9F519B335AA7C1367A88\u0141", Missing, K::kNothing}, // 0x41 in the low byte
        {u"C:\\l\\LINKS.TXT", AFile, K::kLinkFile},
        {u"a.torrent", AFile, K::kTorrentFile},
        {u"links.txt.csv", AFile, K::kNothing},
        {u"links.txt", Missing, K::kNothing},
        {u"links.txt", AFolder, K::kFolder},
        {u"\\\\host\\share", AFolder, K::kFolder},
        {u"links.txt", nullptr, K::kNothing}, // a pasted line is never a file
        {u"", AFile, K::kNothing},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KindOfItem(Item(c.item), c.look), c.kind) << std::u16string(c.item).size();
    // Text in the program's code page: a GBK trail byte may be ASCII, a lead byte never is.
    EXPECT_EQ(KindOfText("magnet:?xt=1"), K::kMagnetLink);
    EXPECT_EQ(KindOfText("C12FE1C06BBA254A9DC9F519B335AA7C1367A8\xB0"
                         "A"),
              K::kNothing);
    EXPECT_EQ(KindOfText("yex6dqdlxisuvhoj6um3gnnkpqjwpkek"), K::kBareHash);
    EXPECT_STREQ(BareHashItemMagnet(Item(u"yex6dqdlxisuvhoj6um3gnnkpqjwpkek")).c_str(),
                 "magnet:?xt=urn:btih:yex6dqdlxisuvhoj6um3gnnkpqjwpkek");
    EXPECT_STREQ(BareHashItemMagnet(Item(u"links.txt")).c_str(), "");
}

TEST(Forward, MessagesHoldWholeItemsWithinTheLimitAndReadBack) {
    const FileNames items = {FileName(u"abc", 3), FileName(u"de", 2), FileName(u"0123456789", 10),
                             FileName(u"f", 1)};
    const std::vector<Bytes> messages = ForwardMessages(items, 14); // bytes
    ASSERT_EQ(messages.size(), 2u); // "abc" and "de" fill one; the ten units fit none
    EXPECT_EQ(messages[0].size(), 7 * sizeof(char16_t));
    Strings read;
    for (const Bytes& message : messages)
        for (const std::u16string& item :
             Units(ForwardedItems(reinterpret_cast<const char16_t*>(message.data()), message.size() / 2)))
            read.push_back(item);
    EXPECT_EQ(read, (Strings{u"abc", u"de", u"f"}));
    const std::vector<Bytes> empty = ForwardMessages({});
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].size(), sizeof(char16_t));
    // The count bounds the reading: a message not ended by its NUL is cut short, and nothing.
    const char16_t units[] = {u'a', 0, 0, u'b', u'c', 0, u'X'};
    EXPECT_EQ(Units(ForwardedItems(units, 6)), (Strings{u"a", u"bc"}));
    EXPECT_TRUE(ForwardedItems(units, 5).empty());
}

} // namespace
} // namespace brindor::app
