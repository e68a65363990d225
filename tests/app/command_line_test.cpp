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
        {u"\"C:\\b.exe\" --url \"magnet:?xt=1&dn=a\" \"Z:\\p.txt\"", u"magnet:?xt=1&dn=a\" \"Z:\\p.txt"},
        {u"b.exe --url  MAGNET:?xt=1 \\\\host\\x.txt ", u"MAGNET:?xt=1 \\\\host\\x.txt"},
        {u"b.exe --url \"\"magnet:?xt=1\"\"", u""}, // one pair of quotes only: a quote is left first
        {u"b.exe --url \"Z:\\p.txt\" \"magnet:?xt=1\"", u""},
        {u"b.exe --url \"", u""},
    };
    for (FileName read; const auto& [line, link] : cases) {
        ASSERT_TRUE(ReadHandlerLink(line, read));
        EXPECT_EQ(std::u16string(read.units(), read.length()), link);
    }
    FileName read;
    for (const char16_t* other : {u"b.exe -- --url magnet:?xt=1", u"b.exe --urls magnet:?xt=1", u"--url"})
        EXPECT_FALSE(ReadHandlerLink(other, read));
}

TEST(ItemKind, OneTableForEveryWayIn) {
    using K = ItemKind;
    const DiskLookup file = [](const FileName&) { return OnDisk::kFile; };
    const DiskLookup folder = [](const FileName&) { return OnDisk::kFolder; };
    const DiskLookup missing = [](const FileName&) { return OnDisk::kNothing; };
    const struct {
        const char16_t* item;
        DiskLookup look;
        ItemKind kind;
    } cases[] = {
        {u"MAGNET:?xt=1\" \"Z:\\p.txt", file, K::kMagnetLink}, // a link, whatever is on disk
        {u"C12FE1C06BBA254A9DC9F519B335AA7C1367A88A", folder, K::kBareHash},
        {u"C12FE1C06BBA254A9DC9F519B335AA7C1367A88G", missing, K::kNothing},
        {u"YEX6DQDLXISUVHOJ6UM3GNNKPQJWPKE1", missing, K::kNothing},              // 1 is no base32 digit
        {u"C12FE1C06BBA254A9DC9F519B335AA7C1367A88\u0141", missing, K::kNothing}, // 'A' in the low byte
        {u"C:\\l\\LINKS.TXT", file, K::kLinkFile},
        {u"a.torrent", file, K::kTorrentFile},
        {u"links.txt.csv", file, K::kNothing},
        {u"links.txt", missing, K::kNothing},
        {u"links.txt", folder, K::kFolder},
        {u"links.txt", nullptr, K::kNothing}, // a pasted line is never a file
    };
    for (const auto& c : cases)
        EXPECT_EQ(KindOfItem(Item(c.item), c.look), c.kind) << std::u16string(c.item).size();
    // A GBK lead byte is never ASCII, though a trail byte may be.
    EXPECT_EQ(KindOfText("C12FE1C06BBA254A9DC9F519B335AA7C1367A8\xB0"
                         "A"),
              K::kNothing);
    EXPECT_STREQ(BareHashItemMagnet(Item(u"yex6dqdlxisuvhoj6um3gnnkpqjwpkek")).c_str(),
                 "magnet:?xt=urn:btih:yex6dqdlxisuvhoj6um3gnnkpqjwpkek");
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
