#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/text_ops.h"
#include "submit/links/info_hash.h"
#include "submit/links/link_record.h"
#include "submit/links/link_tidy.h"
#include "submit/record/journal_rows.h"
#include "submit/record/record_store.h"

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

constexpr LinkState kMade = LinkState::kSucceeded, kFailed = LinkState::kFailed,
                    kUnknown = LinkState::kUnknown;

TEST(LinkOutcomes, LatestOutcomeWinsAndTheSetsFollowIt) {
    LinkOutcomes record;
    record.Reset(5);
    EXPECT_FALSE(record.touched());
    EXPECT_EQ(record.NotSucceeded(), (LinkPositions{1, 2, 3, 4, 5}));
    record.SetOutcome(1, kFailed, "网络错误");
    record.SetOutcome(2, kMade, "");
    record.SetOutcome(3, kFailed, "未能解析链接");
    record.SetOutcome(5, kUnknown, "结果未知（任务可能已建立）");
    record.SetOutcome(1, kMade, ""); // retried and made
    record.SetOutcome(9, kMade, ""); // not of this list
    EXPECT_TRUE(record.touched());
    EXPECT_EQ(record.Failed(), LinkPositions{3});
    EXPECT_EQ(record.Unknown(), LinkPositions{5});
    EXPECT_EQ(record.NotSucceeded(), (LinkPositions{3, 4}));
    EXPECT_EQ(record.NotSucceeded(true), (LinkPositions{3, 4, 5}));
    EXPECT_EQ(record.succeeded_count(), 2);
    EXPECT_EQ(record.failed_count(), 1);
    record.SetOutcome(3, kMade, "");
    record.SetOutcome(5, kMade, "");
    EXPECT_FALSE(record.has_failed() || record.unknown_count());
    EXPECT_EQ(Elements(LinksAt(Links({"a", "b", "c", "d", "e"}), record.NotSucceeded())),
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
    InfoHash last_byte_apart = expected;
    last_byte_apart[19] ^= 1;
    EXPECT_NE(InfoHashHasher{}(expected), InfoHashHasher{}(last_byte_apart));
    EXPECT_TRUE(IsMagnetLink("magnet:?xt=urn:ed2k:abc"));
    EXPECT_FALSE(IsMagnetLink("magnet:?dn=only-a-name"));
}

const char* const kHashA = "magnet:?xt=urn:btih:c12fe1c06bba254a9dc9f519b335aa7c1367a88a";
const char* const kHashB = "magnet:?xt=urn:btih:2222222222222222222222222222222222222222";
const char* const kHashC = "magnet:?xt=urn:btih:3333333333333333333333333333333333333333";

InfoHash Hash(const char* link) {
    InfoHash hash{};
    EXPECT_TRUE(ReadInfoHash(link, hash)) << link;
    return hash;
}

struct Store : RecordStore {
    Store() { EXPECT_TRUE(Open(":memory:")); }
    // A run of `links` for `user` with these outcomes of its first links; kCommitting: marked only.
    int64_t Run(const char* user, const TextArray& links, std::vector<LinkState> states, int day = 100) {
        const int64_t run = BeginRun(user, "copy", "2026-12-07 10:00:00", day, links);
        for (size_t i = 0; i < states.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            EXPECT_TRUE(MarkCommitting(run, number, user));
            EXPECT_TRUE(states[i] == LinkState::kCommitting ||
                        SetOutcome(run, number, states[i], "", "", "", day));
        }
        return run;
    }
};

const auto kNoneLive = [](TextRef) { return false; };

TEST(PlaceLinks, CountsByTorrentAgainstTheUsersRunsAndTheList) {
    Store store;
    // User 1 made A, and B's commit went out unanswered; user 2 made C, which user 1 never did.
    store.Run("1", Links({kHashA, kHashB}), {kMade, kUnknown});
    store.Run("2", Links({kHashC}), {kMade});
    const TextArray links = Links({
        "MAGNET:?XT=URN:BTIH:C12FE1C06BBA254A9DC9F519B335AA7C1367A88A", // A, succeeded before
        "not a link",
        "magnet:?xt=urn:btih:1111111111111111111111111111111111111111&dn=kept",
        "magnet:?xt=urn:btih:CEIRCEIRCEIRCEIRCEIRCEIRCEIRCEIR", // the one above, base32
        kHashB,
        kHashC,
        "magnet:?xt=urn:ed2k:same",
        "magnet:?xt=urn:ed2k:same", // without an info-hash nothing tells them apart
        "magnet:?xt=urn:btih:4444444444444444444444444444444444444444",
    });
    LinkOutcomes record;
    record.Reset(links.count());
    record.SetOutcome(9, kMade, ""); // made by this list's own run
    // Asked a query per link, and for a long list read in one pass.
    for (const int lookups : {0, 1 << 20}) {
        StoredTorrents earlier(store, "1", lookups);
        ListCounts counts;
        const std::vector<ListPlace> places = PlaceLinks(links, record, earlier, counts);
        EXPECT_EQ(RestPositions(places), (LinkPositions{3, 6, 7, 8}));
        EXPECT_EQ(std::vector<int>(
                      {counts.succeeded, counts.repeated, counts.not_links, counts.unknown, counts.rest}),
                  std::vector<int>({2, 1, 1, 1, 4}));
        // Tidying keeps the unknown one: the start question still asks about it.
        EXPECT_EQ(Elements(TidyLinks(links, record, earlier, counts)),
                  (std::vector<std::string>{links.at(3), kHashB, kHashC, links.at(7), links.at(8)}));
    }
}

TEST(AppendNewLinks, SkipsTorrentsTheListHoldsAndTheRecordFollows) {
    TextArray list = Links({"magnet:?xt=urn:btih:c12fe1c06bba254a9dc9f519b335aa7c1367a88a", "not a link"});
    LinkOutcomes record;
    record.Reset(list.count());
    record.SetOutcome(1, LinkState::kSucceeded, "");
    const TextArray more =
        Links({"magnet:?xt=urn:btih:YEX6DQDLXISUVHOJ6UM3GNNKPQJWPKEK&dn=same",
               "magnet:?xt=urn:btih:1111111111111111111111111111111111111111", "not a link",
               "magnet:?xt=urn:btih:1111111111111111111111111111111111111111&dn=again"});
    record.Extend(AppendNewLinks(list, more));
    EXPECT_EQ(Elements(list), (std::vector<std::string>{list.at(1), "not a link", more.at(2), "not a link"}));
    EXPECT_EQ(record.NotSucceeded(), (LinkPositions{2, 3, 4}));
}

TEST(RecordStore, AKilledCommitIsUnknownAndTheOfferStaysUntilARunResumesIt) {
    Store store;
    UnfinishedRun run;
    EXPECT_EQ(store.FindUnfinished(kNoneLive, run), Found::kNo);
    const TextArray links = Links({kHashA, kHashB, kHashC, "magnet:?xt=urn:ed2k:x"});
    // Killed while C's commit was in flight.
    const int64_t killed = store.Run("1", links, {kMade, kFailed, LinkState::kCommitting});
    store.EndRun(store.Run("1", Links({kHashA}), {}), "已停止。"); // ended: never asked about
    EXPECT_EQ(store.FindUnfinished([](TextRef owner) { return compare_text(owner, "copy") == 0; }, run),
              Found::kNo);
    EXPECT_EQ(store.FindUnfinished(kNoneLive, run, "2"), Found::kNo); // another account's run
    ASSERT_EQ(store.FindUnfinished(kNoneLive, run, "1"), Found::kYes);
    EXPECT_EQ(run.id, killed);
    EXPECT_EQ(std::vector<int>({run.total, run.processed, run.succeeded, run.failed}),
              std::vector<int>({4, 3, 1, 1}));
    EXPECT_EQ(Elements(run.rest), (std::vector<std::string>{kHashB, "magnet:?xt=urn:ed2k:x"}));
    EXPECT_EQ(Elements(run.unknown), std::vector<std::string>{kHashC});
    EXPECT_EQ(store.OutcomeUnknown("1", Hash(kHashC)), Found::kYes);
    EXPECT_EQ(store.OutcomeUnknown("2", Hash(kHashC)), Found::kNo);
    // Loading the links answers nothing yet; a run of them does.
    EXPECT_EQ(store.FindUnfinished(kNoneLive, run), Found::kYes);
    EXPECT_TRUE(store.BeginRun("1", "copy", "", 100, run.rest, killed));
    store.EndRun(killed + 2, "全部完成！");
    EXPECT_EQ(store.FindUnfinished(kNoneLive, run), Found::kNo);
}

TEST(RecordStore, PruneKeepsUnansweredRunsAndSuccessesForAYearOfTheRecordsOwnDays) {
    Store store;
    const int64_t unanswered = store.Run("1", Links({kHashA}), {kMade});
    store.EndRun(store.Run("1", Links({kHashB}), {kMade}), "全部完成！");
    // A clock years ahead counts from the newest day recorded, 100: nothing is old yet.
    store.Prune(100 + 1000);
    Statement runs = store.database().Prepare("SELECT count(*) FROM runs");
    EXPECT_TRUE(runs.Step() && runs.Integer(0) == 2);
    store.EndRun(store.Run("1", Links({kHashC}), {}, 100 + 91), "已停止。");
    store.Prune(100 + 1000);
    UnfinishedRun run;
    ASSERT_EQ(store.FindUnfinished(kNoneLive, run), Found::kYes);
    EXPECT_EQ(run.id, unanswered);
    runs.Reset();
    EXPECT_TRUE(runs.Step() && runs.Integer(0) == 2);
    EXPECT_EQ(store.Succeeded("1", Hash(kHashB)), Found::kYes); // its run is gone, its success counts on
    store.EndRun(store.Run("1", Links({kHashC}), {}, 100 + 366), "已停止。");
    store.Prune(100 + 366);
    EXPECT_EQ(store.Succeeded("1", Hash(kHashB)), Found::kNo);
}

TEST(RecordStore, AWriteThatFailsLeavesNoMarkAndNoRun) {
    Store store;
    EXPECT_FALSE(store.MarkCommitting(0, 1, "1"));
    const int64_t run = store.Run("1", Links({kHashA}), {});
    EXPECT_FALSE(store.MarkCommitting(run, 2, "1")); // no such link
    ASSERT_TRUE(store.database().Execute("PRAGMA query_only = 1"));
    EXPECT_FALSE(store.MarkCommitting(run, 1, "1"));
    EXPECT_FALSE(store.SetOutcome(run, 1, kMade, "", "", "", 100));
    EXPECT_EQ(store.BeginRun("1", "copy", "", 100, Links({kHashB})), 0);
}

TEST(JournalRows, AnOldJournalComesInWithItsEndAndItsSuccessesMatchedByLink) {
    // A run of the links B, A, C, m4 whose rows came in another order; the last one cut short.
    const std::string journal = std::string("\xEF\xBB\xBF编号,标题,大小,磁力链接,提交状态,原因,时间\r\n") +
                                "1,\"a,\"\"b\"\"\r\nc\",1KB," + kHashA +
                                ",提交成功！,,2026-12-07 10:00:00\r\n" + "2,,0KB," + kHashB +
                                ",提交失败！,网络错误,2026-12-07 10:00:01\r\n" + "3,t,1KB," + kHashC +
                                ",提交成\r\n\r\n"; // then a blank line
    const std::vector<TextArray> rows = ReadCsvRows(journal.data(), journal.size());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_STREQ(rows[1].at(2), "a,\"b\"\r\nc");
    PastRun past;
    ASSERT_TRUE(PastRunOfJournal(rows, Links({kHashB, kHashA, kHashC, "m4"}), past));
    EXPECT_FALSE(past.ended || past.answered);
    ASSERT_EQ(past.outcomes.size(), 3u);
    EXPECT_EQ(past.outcomes[0].number, 2);
    EXPECT_EQ(past.outcomes[2].state, kUnknown);
    EXPECT_STREQ(past.outcomes[1].reason.c_str(), "网络错误");
    // Its links file missing, or a row of a link it does not hold: nothing to match.
    EXPECT_FALSE(PastRunOfJournal(rows, TextArray(), past));
    EXPECT_FALSE(PastRunOfJournal(rows, Links({kHashA, kHashC}), past));
    ASSERT_TRUE(PastRunOfJournal(rows, Links({kHashB, kHashA, kHashC, "m4"}), past));
    Store store;
    const int64_t id = store.ImportRun(past);
    UnfinishedRun run;
    ASSERT_EQ(store.FindUnfinished(kNoneLive, run), Found::kYes);
    EXPECT_EQ(run.id, id);
    EXPECT_EQ(Elements(run.rest), (std::vector<std::string>{kHashB, "m4"}));
    EXPECT_EQ(store.Succeeded("any user", Hash(kHashA)), Found::kYes);
    for (const char* end : {",已停止。,,,,,2026-12-07 10:00:02\r\n", ",未完成\r\n"}) {
        const std::string closed = journal + end;
        ASSERT_TRUE(PastRunOfJournal(ReadCsvRows(closed.data(), closed.size()),
                                     Links({kHashA, kHashB, kHashC}), past));
        EXPECT_TRUE(past.ended != past.answered) << end;
    }
}

TEST(JournalRows, StemDays) {
    const int today = StemDay("20261207-120000");
    EXPECT_EQ(today - StemDay("20261107-235959.csv"), 30);
    EXPECT_EQ(StemDay("20240301-000000") - StemDay("20240228-000000"), 2); // a leap year
    EXPECT_EQ(StemDay("2026120-7"), -1);
}

} // namespace
} // namespace brindor
