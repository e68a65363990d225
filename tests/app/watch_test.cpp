#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/watch/clipboard_links.h"
#include "app/watch/numbered_name.h"
#include "app/watch/settling_files.h"

namespace brindor::app {
namespace {

std::vector<std::string> Links(const char* text, bool cut_short = false) {
    const TextArray links = MagnetLinksInText(text, cut_short);
    std::vector<std::string> out;
    for (int i = 1; i <= links.count(); ++i)
        out.emplace_back(links.at(i));
    return out;
}

constexpr char kHash[] = "c12fe1c06bba254a9dc9f519b335aa7c1367a88a";

TEST(ClipboardLinks, TakesEveryMagnetLinkAndNothingElse) {
    const std::string link = std::string("magnet:?xt=urn:btih:") + kHash;
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {link, {link}},
        {"  " + link + "\r\n" + link + "&dn=b\tx", {link, link + "&dn=b"}},
        // A commit id or a bare hash is no link.
        {kHash, {}},
        {"see (" + link + "). And " + link + "!", {link, link}},
        {"<a href=\"" + link + "&tr=udp%3A%2F%2Fx\">", {link + "&tr=udp%3A%2F%2Fx"}},
        {"MAGNET:?XT=urn:btih:" + std::string(kHash), {"MAGNET:?XT=urn:btih:" + std::string(kHash)}},
        // Chinese prose around a link, also right before it; its second bytes are no ASCII letters.
        {"\xC1\xB4\xBD\xD3" + link + "\xA3\xAC\xC3\xDC", {link}},
        {"xmagnet:?xt=1 magnet:? magnet:?. magnet:?a", {"magnet:?a"}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Links(text.c_str()), expected) << text;
}

TEST(ClipboardLinks, ALinkRunningIntoACutEndIsLeftOut) {
    const std::string link = std::string("magnet:?xt=urn:btih:") + kHash;
    EXPECT_EQ(Links((link + "\n" + link).c_str(), true), std::vector<std::string>{link});
    EXPECT_EQ(Links((link + "\n").c_str(), true), std::vector<std::string>{link});
}

TEST(NumberedName, PutsTheNumberBeforeTheExtension) {
    const std::pair<std::pair<const char16_t*, int>, std::u16string> cases[] = {
        {{u"a.torrent", 1}, u"a.torrent"},   {{u"a.torrent", 2}, u"a (2).torrent"},
        {{u"a.b.txt", 12}, u"a.b (12).txt"}, {{u"noext", 3}, u"noext (3)"},
        {{u".torrent", 2}, u".torrent (2)"},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(NumberedName(given.first, given.second), expected);
}

TEST(SettlingFiles, AFileIsReadyOnceUnchangedForTheSettleTimeAndOnlyOnce) {
    SettlingFiles settling(1500);
    using Ready = std::vector<std::u16string>;
    EXPECT_EQ(settling.Look({{u"a", 10, 1}, {u"b", 5, 1}}, 0), Ready{});
    EXPECT_EQ(settling.Look({{u"a", 10, 1}, {u"b", 7, 2}}, 1000), Ready{}); // b still growing
    EXPECT_EQ(settling.Look({{u"a", 10, 1}, {u"b", 7, 2}}, 1500), Ready{u"a"});
    settling.Done(u"a");
    EXPECT_EQ(settling.Look({{u"a", 10, 1}, {u"b", 7, 2}}, 2500), Ready{u"b"});
    // Not taken (nobody let go of it yet): ready again; taken and written again: a new file.
    EXPECT_EQ(settling.Look({{u"a", 10, 1}, {u"b", 7, 2}}, 3000), Ready{u"b"});
    EXPECT_EQ(settling.Look({{u"a", 11, 3}}, 3500), Ready{});
    EXPECT_EQ(settling.Look({{u"a", 11, 3}}, 5000), Ready{u"a"});
    // Gone and back: it waits afresh.
    EXPECT_EQ(settling.Look({{u"b", 7, 2}}, 5500), Ready{});
}

TEST(SettlingFiles, AWrappingClockKeepsCounting) {
    SettlingFiles settling(1500);
    EXPECT_TRUE(settling.Look({{u"a", 1, 1}}, 0xFFFFFF00u).empty());
    EXPECT_EQ(settling.Look({{u"a", 1, 1}}, 0x00000500u), std::vector<std::u16string>{u"a"});
}

} // namespace
} // namespace brindor::app
