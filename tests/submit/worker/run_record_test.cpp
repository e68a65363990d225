#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "submit/record/run_record.h"
#include "submit/record/unknown_names.h"
#include "submit/service/service_message.h"

namespace brindor {
namespace {

const char* const kLinkA = "magnet:?xt=urn:btih:1111111111111111111111111111111111111111";
const char* const kLinkB = "magnet:?xt=urn:btih:2222222222222222222222222222222222222222";
constexpr const char* kMade = "jsonp1({\"id\":\"1\",\"progress\":1})";
constexpr const char* kSignedOut = "jsonp1({\"id\":null,\"progress\":-1,\"msg\":\"未登录\"})";

struct FixedClock : RecordClock {
    int Today() override { return 100; }
    Text Now() override { return Text("2026-12-08 10:00:00"); }
};

// A service that answers every link and signs the first commit out when asked; `on_commit` sees
// the record as another program would at the moment the commit is handed over.
struct Service : ServiceClient, RunScreen {
    const char* first_commit = kMade;
    bool retry = false;
    std::function<void()> on_commit;
    int commits = 0;
    ServiceAnswer Answer(const char* text, const char* callback) {
        return ServiceAnswer{Text(text), 200, Text(callback), -1, RawServiceMessage(text)};
    }
    ServiceAnswer Resolve(TextRef) override {
        return Answer("queryUrl(1,'C','1','T','1',new Array('a'),new Array('1KB'),new Array('1'),"
                      "new Array('1'),new Array('video'),new Array('0'),'0.5')",
                      "queryUrl");
    }
    ServiceAnswer Commit(TextRef, const TaskFields&) override {
        if (on_commit) on_commit();
        return Answer(commits++ == 0 ? first_commit : kMade, "jsonp1");
    }
    void RefuseRun(const char*, const char*) override {}
    void ShowEnd(const char*) override {}
    void BeginProgress(int) override {}
    void FillRow(int, LinkState, TextRef, TextRef, TextRef, TextRef, TextRef, TextRef) override {}
    int32_t Interval() override { return 0; }
    void Wait(int32_t) override {}
    void ShowProgress(int, TextRef) override {}
    bool StopRequested() override { return false; }
    bool AskRetry(const char*, const char*) override { return retry; }
    bool WaitThrottled(int32_t) override { return true; }
    Text CurrentUserId() override { return Text("2"); }
};

struct RecordFile : ::testing::Test {
    std::string path = ::testing::TempDir() + "run_record_test.db";
    RecordStore store;
    FixedClock clock;
    void SetUp() override {
        for (const char* end : {"", "-wal", "-shm"})
            std::remove((path + end).c_str());
        ASSERT_TRUE(store.Open(path.c_str()));
    }
    // What a second connection reads: the state of each link of the newest run.
    std::string States() {
        Database other;
        EXPECT_TRUE(other.Open(path.c_str()));
        Statement links = other.Prepare("SELECT state FROM links WHERE run_id = (SELECT max(id) FROM runs) "
                                        "ORDER BY number");
        std::string states;
        while (links.Step())
            states += std::to_string(links.Integer(0));
        return links.error() ? "error" : states;
    }
    void Run(Service& service, std::initializer_list<const char*> links) {
        BatchInput input;
        for (const char* link : links)
            input.links.append(Text(link));
        input.user_id = Text("1");
        RunRecord record(store, "copy", clock);
        RunBatch(input, service, service, record);
    }
};

TEST_F(RecordFile, TheMarkIsOnTheDiskForAnyReaderBeforeTheCommitIsHandedOver) {
    Service service;
    std::vector<std::string> seen;
    service.on_commit = [&] {
        seen.push_back(States());
        Statement synchronous = store.database().Prepare("PRAGMA synchronous");
        EXPECT_TRUE(synchronous.Step() && synchronous.Integer(0) >= 2) << "a mark must be synced, not cached";
    };
    Run(service, {kLinkA, kLinkB});
    EXPECT_EQ(seen, (std::vector<std::string>{"30", "13"}));
    EXPECT_EQ(States(), "11");
}

TEST_F(RecordFile, ARefusedCommitIsFailedAndASuccessCountsForTheAccountThatMadeIt) {
    Service service;
    service.first_commit = kSignedOut;
    Run(service, {kLinkA});
    EXPECT_EQ(States(), "2"); // stopped at the pause: nothing made, no 提交中 left behind
    InfoHash a{};
    ASSERT_TRUE(ReadInfoHash(kLinkA, a));
    EXPECT_EQ(store.OutcomeUnknown("1", a), Found::kNo);
    service.commits = 0;
    service.retry = true; // another account signs in at the pause
    Run(service, {kLinkA});
    EXPECT_EQ(States(), "1");
    EXPECT_EQ(store.Succeeded("2", a), Found::kYes);
    EXPECT_EQ(store.Succeeded("1", a), Found::kNo);
}

TEST_F(RecordFile, AReadThatFailsIsNeverNeverMade) {
    Service service;
    service.first_commit = "";
    Run(service, {kLinkA, kLinkB}); // A of unknown outcome, B made
    InfoHash a{}, b{};
    ASSERT_TRUE(ReadInfoHash(kLinkA, a) && ReadInfoHash(kLinkB, b));
    UnfinishedRun unfinished;
    const auto reads = [&] {
        const auto none_live = [](TextRef) { return false; };
        return std::vector<Found>{store.Succeeded("1", b), store.OutcomeUnknown("1", a),
                                  store.FindUnfinished(none_live, unfinished)};
    };
    // Another program holds the file's lock.
    store.Close();
    store.database().set_busy_wait(10);
    Database other;
    ASSERT_TRUE(other.Open(path.c_str()) && other.Execute("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                                                          "UPDATE runs SET how = how; COMMIT;"));
    ASSERT_FALSE(store.Reopen());
    EXPECT_EQ(reads(), std::vector<Found>(3, Found::kUnreadable));
    other.Close();
    ASSERT_TRUE(store.Reopen());
    EXPECT_EQ(reads(), (std::vector<Found>{Found::kYes, Found::kYes, Found::kNo}));
    // A page of the successes overwritten.
    Statement root = store.database().Prepare("SELECT rootpage FROM sqlite_master WHERE name = 'succeeded'");
    ASSERT_TRUE(root.Step());
    const long page = static_cast<long>(root.Integer(0));
    root = Statement();
    store.Close();
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    ASSERT_TRUE(file && std::fseek(file, (page - 1) * 4096, SEEK_SET) == 0);
    std::fwrite(std::string(4096, '\x55').data(), 1, 4096, file);
    std::fclose(file);
    EXPECT_EQ(store.Succeeded("1", b), Found::kUnreadable);
    EXPECT_EQ(store.error() & 0xFF, 11); // SQLITE_CORRUPT
    // A file that cannot be opened at all.
    RecordStore folder;
    EXPECT_FALSE(folder.Open(::testing::TempDir().c_str()));
    StoredTorrents earlier(folder, "1");
    EXPECT_TRUE(earlier.Succeeded(b)); // held back
    EXPECT_NE(earlier.error(), 0);
}

std::string Swapped(TextRef text, const std::string& from, const std::string& to) {
    std::string swapped = text.c_str();
    for (size_t at; (at = swapped.find(from)) != std::string::npos;)
        swapped.replace(at, from.size(), to);
    return swapped;
}

TEST_F(RecordFile, TheFirstLayoutComesUpInOneGoAndANewerOneIsOnlyRead) {
    // Today's layout taken back to the first one, whose texts were in the program's code page.
    ASSERT_TRUE(store.database().Execute(
        "ALTER TABLE links DROP COLUMN user_id; PRAGMA user_version = 0;"
        "INSERT INTO runs VALUES(1, '1', 'copy', '', 100, 1, 0, 'x');"
        "INSERT INTO links VALUES(1, 1, 'l', x'1111111111111111111111111111111111111111',"
        " 7, '\xC9\xBD', '', '');"));
    store.Close();
    // 山 in the program's code page and in UTF-8.
    RecordStore converted(
        TextCodec{[](TextRef t) { return Text(Swapped(t, "\xC9\xBD", "\xE5\xB1\xB1").c_str()); },
                  [](TextRef t) { return Text(Swapped(t, "\xE5\xB1\xB1", "\xC9\xBD").c_str()); }});
    ASSERT_TRUE(converted.Open(path.c_str()));
    Statement raw = converted.database().Prepare(
        "SELECT title = CAST(x'E5B1B1' AS TEXT) AND length(title) = 1 FROM links");
    EXPECT_TRUE(raw.Step() && raw.Integer(0) == 1);
    raw = Statement();
    InfoHash a{};
    ASSERT_TRUE(ReadInfoHash(kLinkA, a));
    // A state this build does not know is doubt, and shown as such.
    EXPECT_EQ(converted.OutcomeUnknown("1", a), Found::kYes);
    converted.ForEachLink([](const RecordedLink& link) {
        EXPECT_EQ(link.state, LinkState::kUnknown);
        EXPECT_STREQ(link.title.c_str(), "\xC9\xBD");
    });
    ASSERT_TRUE(converted.database().Execute("PRAGMA user_version = 99"));
    converted.Close();
    ASSERT_TRUE(converted.Open(path.c_str()));
    EXPECT_TRUE(converted.newer());
    EXPECT_EQ(converted.OutcomeUnknown("1", a), Found::kYes);
    EXPECT_FALSE(converted.MarkCommitting(1, 1, "1"));
    EXPECT_EQ(converted.BeginRun("1", "copy", "", 100, TextArray()), 0);
}

TEST(UnknownNames, TitlesWhereKnownAtMostFiveThenHowManyInAll) {
    TextArray links, titles;
    for (const char* link : {"l1", "l2", "l3", "l4", "l5", "l6"})
        links.append(Text(link));
    titles.append(Text("T1"));
    titles.append(Text(""));
    EXPECT_STREQ(UnknownNames(links, titles).c_str(), "T1\nl2\nl3\nl4\nl5\n等6条\n");
}

} // namespace
} // namespace brindor
