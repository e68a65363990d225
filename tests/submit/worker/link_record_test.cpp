#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "submit/info_hash.h"
#include "submit/journal_rows.h"
#include "submit/link_record.h"
#include "submit/link_tidy.h"

namespace brindor {
namespace {

TextArray Links(std::initializer_list<const char*> links) {
    TextArray array;
    for (const char* link : links)
        array.append(Text(link));
    return array;
}

std::vector<std::string> Elements(const TextArray& array) {
    std::vector<std::string> elements;
    for (int i = 1; i <= array.count(); ++i)
        elements.push_back(array.at(i));
    return elements;
}

TEST(LinkRecord, LatestOutcomeWinsAndTheSetsFollowIt) {
    LinkRecord record;
    record.Reset(4);
    EXPECT_FALSE(record.touched());
    EXPECT_EQ(record.NotSucceeded(), (LinkPositions{1, 2, 3, 4}));
    record.SetOutcome(1, false, "网络错误");
    record.SetOutcome(2, true, "");
    record.SetOutcome(3, false, "未能解析链接");
    record.SetOutcome(1, true, ""); // retried and made
    record.SetOutcome(9, true, ""); // not of this list
    EXPECT_TRUE(record.touched());
    EXPECT_EQ(record.Failed(), LinkPositions{3});
    EXPECT_EQ(record.NotSucceeded(), (LinkPositions{3, 4}));
    EXPECT_EQ(record.succeeded_count(), 2);
    EXPECT_EQ(record.failed_count(), 1);
    record.SetOutcome(3, true, "");
    EXPECT_FALSE(record.has_failed());
    EXPECT_EQ(Elements(LinksAt(Links({"a", "b", "c", "d"}), record.NotSucceeded())),
              std::vector<std::string>{"d"});
}

TEST(InfoHash, HexAndBase32OfOneTorrentAreEqualInAnyCase) {
    const char* hex = "magnet:?xt=urn:btih:c12fe1c06bba254a9dc9f519b335aa7c1367a88a&dn=one";
    const char* same[] = {
        "MAGNET:?dn=x&XT=URN:BTIH:C12FE1C06BBA254A9DC9F519B335AA7C1367A88A",
        "magnet:?xt=urn:btih:YEX6DQDLXISUVHOJ6UM3GNNKPQJWPKEK&tr=udp://t",
        "magnet:?xt=urn:btih:yex6dqdlxisuvhoj6um3gnnkpqjwpkek",
    };
    InfoHash expected{}, hash{};
    ASSERT_TRUE(ReadInfoHash(hex, expected));
    for (const char* link : same) {
        ASSERT_TRUE(ReadInfoHash(link, hash)) << link;
        EXPECT_EQ(hash, expected) << link;
    }
    const char* unnamed[] = {"magnet:?xt=urn:btih:c12fe1c06bba254a9dc9f519b335aa7c1367a88",  // 39 digits
                             "magnet:?xt=urn:btih:g12fe1c06bba254a9dc9f519b335aa7c1367a88a", // no hex digit
                             "magnet:?xt=urn:btih:YEX6DQDLXISUVHOJ6UM3GNNKPQJWPKE1", // 1 is no base32 digit
                             "http://example.com/?xt=urn:btih:c12fe1c06bba254a9dc9f519b335aa7c1367a88a",
                             "magnet:?xt=urn:ed2k:abc"};
    for (const char* link : unnamed)
        EXPECT_FALSE(ReadInfoHash(link, hash)) << link;
    EXPECT_TRUE(IsMagnetLink("magnet:?xt=urn:ed2k:abc"));
    EXPECT_FALSE(IsMagnetLink("magnet:?dn=only-a-name"));
}

TEST(TidyLinks, DropsNonLinksRepeatsAndSuccesses) {
    const TextArray links = Links({
        "magnet:?xt=urn:btih:c12fe1c06bba254a9dc9f519b335aa7c1367a88a", // succeeded in this record
        "not a link", "magnet:?xt=urn:btih:1111111111111111111111111111111111111111&dn=kept",
        "magnet:?xt=urn:btih:CEIRCEIRCEIRCEIRCEIRCEIRCEIRCEIR",         // the one above, base32
        "magnet:?xt=urn:btih:2222222222222222222222222222222222222222", // succeeded in a journal
        "magnet:?xt=urn:ed2k:same",
        "magnet:?xt=urn:ed2k:same", // without an info-hash nothing tells them apart
    });
    LinkRecord record;
    record.Reset(links.count());
    record.SetOutcome(1, true, "");
    InfoHashSet elsewhere;
    InfoHash hash{};
    ASSERT_TRUE(ReadInfoHash(links.at(5), hash));
    elsewhere.insert(hash);
    TidyCounts counts;
    const TextArray kept = TidyLinks(links, record, elsewhere, counts);
    EXPECT_EQ(Elements(kept), (std::vector<std::string>{links.at(3), links.at(6), links.at(7)}));
    EXPECT_EQ(counts.not_links, 1);
    EXPECT_EQ(counts.repeated, 1);
    EXPECT_EQ(counts.succeeded, 2);
    EXPECT_EQ(counts.remaining, 3);
}

TEST(AppendNewLinks, SkipsTorrentsTheListHoldsAndTheRecordFollows) {
    TextArray list = Links({"magnet:?xt=urn:btih:c12fe1c06bba254a9dc9f519b335aa7c1367a88a", "not a link"});
    LinkRecord record;
    record.Reset(list.count());
    record.SetOutcome(1, true, "");
    const TextArray more =
        Links({"magnet:?xt=urn:btih:YEX6DQDLXISUVHOJ6UM3GNNKPQJWPKEK&dn=same",
               "magnet:?xt=urn:btih:1111111111111111111111111111111111111111", "not a link",
               "magnet:?xt=urn:btih:1111111111111111111111111111111111111111&dn=again"});
    record.Extend(AppendNewLinks(list, more));
    EXPECT_EQ(Elements(list), (std::vector<std::string>{list.at(1), "not a link", more.at(2), "not a link"}));
    EXPECT_EQ(record.NotSucceeded(), (LinkPositions{2, 3, 4}));
}

TEST(JournalRows, SummaryAndEndMark) {
    const std::string journal = "\xEF\xBB\xBF编号,标题,大小,磁力链接,提交状态,原因,时间\r\n"
                                "1,\"a,\"\"b\"\"\r\nc\",1KB,m1,提交成功！,,2026-12-07 10:00:00\r\n"
                                "2,,0KB,m2,提交失败！,网络错误,2026-12-07 10:00:01\r\n";
    const std::vector<TextArray> rows = ReadCsvRows(journal.data(), journal.size());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_STREQ(rows[1].at(2), "a,\"b\"\r\nc");
    EXPECT_STREQ(rows[2].at(6), "网络错误");
    JournalSummary summary = SummariseJournal(rows);
    EXPECT_FALSE(summary.closed);
    EXPECT_EQ(summary.processed, 2);
    EXPECT_EQ(summary.row_succeeded, (std::vector<bool>{true, false}));
    const std::string ended = journal + ",已停止。,,,,,2026-12-07 10:00:02\r\n";
    summary = SummariseJournal(ReadCsvRows(ended.data(), ended.size()));
    EXPECT_TRUE(summary.closed);
    EXPECT_EQ(summary.processed, 2);
}

TEST(JournalRows, KeptForThirtyDaysTheNewestFiftyAtMost) {
    EXPECT_STREQ(JournalStem(2026, 1, 2, 3, 4, 5).c_str(), "20260102-030405");
    const int today = StemDay("20261207-120000");
    EXPECT_EQ(today - StemDay("20261107-235959.csv"), 30);
    EXPECT_EQ(StemDay("20240301-000000") - StemDay("20240228-000000"), 2); // a leap year
    EXPECT_EQ(StemDay("2026120-7"), -1);
    EXPECT_TRUE(KeepJournal(0, today - 30, today) && KeepJournal(49, today, today));
    EXPECT_FALSE(KeepJournal(0, today - 31, today) || KeepJournal(50, today, today) ||
                 KeepJournal(0, -1, today));
}

} // namespace
} // namespace brindor
