#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "runtime/core/text_ops.h"
#include "submit/batch_run.h"
#include "submit/service/commit_body.h"
#include "submit/service/service_message.h"

namespace brindor {
namespace {

// Records what a run does, one line per step, and answers like the service would.
class RecordingSurface : public ServiceClient, public RunScreen, public BatchRecord {
  public:
    std::map<std::string, std::string> resolve_answers; // by link; others get an empty answer
    std::string commit_answer = "jsonp1({\"id\":\"1000000001\",\"progress\":1})";
    std::vector<int32_t> intervals{0};
    std::vector<std::string> steps;
    std::vector<std::string> commit_bodies;
    std::vector<std::string> reasons;
    std::vector<int> positions;
    std::vector<LinkState> states;
    int marks_refused = 0;    // MarkCommitting fails this many times
    int stop_after_rows = -1; // StopRequested answers true once this many rows exist
    bool retry = false;       // AskRetry's answer
    std::vector<std::string> pause_labels;

    ServiceAnswer Resolve(TextRef link) override {
        steps.push_back(std::string("resolve ") + link.c_str());
        auto found = resolve_answers.find(link.c_str());
        if (found == resolve_answers.end()) return ServiceAnswer{};
        return ServiceAnswer{Text(found->second.c_str()), 200, Text("queryUrl"), -1,
                             RawServiceMessage(found->second.c_str())};
    }
    ServiceAnswer Commit(TextRef user_id, const TaskFields& fields) override {
        steps.push_back("commit");
        commit_bodies.push_back(JoinCommitFields(user_id, fields.title, fields).c_str());
        return ServiceAnswer{Text(commit_answer.c_str()), commit_answer.empty() ? 0 : 200, Text("jsonp1"), -1,
                             RawServiceMessage(commit_answer.c_str())};
    }
    void RefuseRun(const char* content, const char* title) override {
        steps.push_back(std::string("message ") + content + " | " + (title ? title : "(default)"));
    }
    void ShowEnd(const char* content) override { RefuseRun(content, nullptr); }
    void BeginProgress(int count) override { steps.push_back("range " + std::to_string(count)); }
    void FillRow(int position, LinkState state, TextRef caption, TextRef title, TextRef size, TextRef link,
                 TextRef status, TextRef reason) override {
        states.push_back(state);
        reasons.push_back(reason.c_str());
        positions.push_back(position);
        steps.push_back(std::string("row ") + caption.c_str() + " | " + title.c_str() + " | " + size.c_str() +
                        " | " + link.c_str() + " | " + status.c_str());
    }
    int32_t Interval() override {
        const int32_t value = intervals[reads_ < intervals.size() ? reads_ : intervals.size() - 1];
        ++reads_;
        return value;
    }
    void Wait(int32_t milliseconds) override { steps.push_back("wait " + std::to_string(milliseconds)); }
    void ShowProgress(int position, TextRef percent) override {
        steps.push_back("progress " + std::to_string(position) + " " + percent.c_str());
    }
    bool StopRequested() override {
        return stop_after_rows >= 0 && static_cast<int>(reasons.size()) >= stop_after_rows;
    }
    bool AskRetry(const char* content, const char* label) override {
        steps.push_back(std::string("ask ") + content);
        pause_labels.push_back(label);
        return retry;
    }
    bool WaitThrottled(int32_t milliseconds) override {
        steps.push_back("pause " + std::to_string(milliseconds));
        return true;
    }
    Text CurrentUserId() override { return {}; }
    std::vector<std::string> committing; // each with the step before it
    void ShowCommitting(int at, TextRef title, TextRef size, TextRef link) override {
        committing.push_back(std::to_string(at) + title.c_str() + size.c_str() + link.c_str() + " " +
                             steps.back());
    }
    void Begin(const BatchInput&) override {}
    bool Mark(int position, TextRef) override {
        steps.push_back("mark " + std::to_string(position));
        return marks_refused-- <= 0;
    }
    void Outcome(int, LinkState, TextRef, TextRef, TextRef) override {}
    bool End(TextRef) override { return true; }

  private:
    size_t reads_ = 0;
};

void RunBatch(const BatchInput& input, RecordingSurface& surface) {
    brindor::RunBatch(input, surface, surface, surface);
}

std::string Answer(const char* cid, const char* tsize, const char* title) {
    return std::string("queryUrl(1,'") + cid + "','" + tsize + "','" + title +
           "','1',new Array('a.mkv'),new Array('1KB'),new Array('" + tsize +
           "'),new Array('1'),new Array('video'),new Array('0'),'0.5')";
}

void AnswerAll(RecordingSurface& surface) {
    for (const char* link : {"a", "b", "c", "d"})
        surface.resolve_answers[link] = Answer("C1", "1", "T");
}

BatchInput Input(std::initializer_list<const char*> links, const char* user_id = "100001") {
    BatchInput input;
    for (const char* link : links)
        input.links.append(Text(link));
    input.user_id = user_id;
    return input;
}

const char* const kNothingToDo = "message 数组里面没有数据，或者还没有登陆迅雷离线平台 | 提示";

TEST(RunBatch, RefusesWithoutLinksOrUser) {
    const BatchInput inputs[] = {Input({}), Input({"magnet:?xt=a"}, ""), Input({}, "")};
    for (const BatchInput& input : inputs) {
        RecordingSurface surface;
        RunBatch(input, surface);
        EXPECT_EQ(surface.steps, std::vector<std::string>{kNothingToDo});
    }
}

TEST(RunBatch, ReportsEachLinkAfterItsRequestsThenProgress) {
    RecordingSurface surface;
    surface.resolve_answers["L1"] = Answer("C1", "1610612736", "First");
    surface.resolve_answers["L2"] = Answer("C2", "100", "Second");
    surface.resolve_answers["L3"] = Answer("C3", "1073741824", "Third");
    RunBatch(Input({"L1", "L2", "L3"}), surface);
    const std::vector<std::string> expected = {
        "range 3",
        "resolve L1",
        "mark 1",
        "commit",
        "row 1 | First | 1.5GB | L1 | 提交成功！",
        "wait 0",
        "progress 1 33.33%",
        "resolve L2",
        "mark 2",
        "commit",
        "row 2 | Second | 0.1KB | L2 | 提交成功！",
        "wait 0",
        "progress 2 66.67%",
        "resolve L3",
        "mark 3",
        "commit",
        "row 3 | Third | 1024MB | L3 | 提交成功！",
        "wait 0",
        "progress 3 100%",
        "message 全部完成！\n成功3条，失败0条。 | (default)",
    };
    EXPECT_EQ(surface.steps, expected);
}

TEST(RunBatch, LinkWithoutContentIdIsNotCommittedNorGivenTheLastLinksFields) {
    RecordingSurface surface;
    surface.resolve_answers["good"] = Answer("C1", "1536", "Kept");
    surface.resolve_answers["flag0"] = "queryUrl(0,'','','','0',new Array(),new Array(),new Array(),"
                                       "new Array(),new Array(),new Array(),'0.1')";
    RunBatch(Input({"good", "flag0", "dead"}), surface);
    const std::vector<std::string> expected = {
        "range 3",
        "resolve good",
        "mark 1",
        "commit",
        "row 1 | Kept | 1.5KB | good | 提交成功！",
        "wait 0",
        "progress 1 33.33%",
        "resolve flag0",
        "row 2 |  | 0KB | flag0 | 提交失败！",
        "wait 0",
        "progress 2 66.67%",
        "resolve dead",
        "wait 1000", // no answer: asked once more
        "resolve dead",
        "row 3 |  | 0KB | dead | 提交失败！",
        "wait 0",
        "progress 3 100%",
        "message 全部完成！\n成功1条，失败2条。 | (default)",
    };
    EXPECT_EQ(surface.steps, expected);
    EXPECT_EQ(surface.commit_bodies.size(), 1u);
}

TEST(RunBatch, CommitOutcomes) {
    struct Case {
        const char* answer;
        const char* status;
        LinkState state;
    };
    const Case cases[] = {
        {"jsonp1({\"id\":\"1000000001\",\"progress\":1})", "提交成功！", LinkState::kSucceeded},
        {"jsonp1({\"id\":null,\"progress\":-1,\"msg\":\"no\"})", "提交失败！", LinkState::kFailed},
        {"", "结果未知", LinkState::kUnknown}, // the exchange failed: never shown as success
        {"<html>nullable</html>", "结果未知", LinkState::kUnknown},
        // Contradicting itself, even asking to slow down: never a success, never sent again.
        {"jsonp1({\"progress\":-1,\"msg\":\"操作过于频繁\"})", "结果未知", LinkState::kUnknown},
        {"jsonp1({})", "结果未知", LinkState::kUnknown},
        {"jsonp1({\"id\":\"5\",\"progress\":1,\"msg\":null})", "结果未知", LinkState::kUnknown},
    };
    for (const Case& c : cases) {
        RecordingSurface surface;
        surface.resolve_answers["L"] = Answer("C1", "1", "T");
        surface.commit_answer = c.answer;
        RunBatch(Input({"L"}), surface);
        EXPECT_EQ(surface.steps.at(4), std::string("row 1 | T | 0KB | L | ") + c.status) << c.answer;
        EXPECT_EQ(surface.states, std::vector<LinkState>{c.state}) << c.answer;
        EXPECT_EQ(surface.commit_bodies.size(), 1u) << c.answer;
        if (c.state == LinkState::kUnknown) {
            EXPECT_EQ(surface.steps.back(),
                      "message 全部完成！\n成功0条，失败0条，结果未知1条。 | (default)");
        }
    }
}

TEST(RunBatch, NoCommitGoesOutWithoutItsMark) {
    const char* const ask = "ask 无法写入提交记录（磁盘已满或文件被占用）。按“重试”继续；按“取消”停止提交。";
    for (const bool retry : {true, false}) {
        RecordingSurface surface;
        AnswerAll(surface);
        surface.marks_refused = 2;
        surface.retry = retry;
        RunBatch(Input({"a", "b"}), surface);
        const std::vector<std::string> retried = {"resolve a", "mark 1", ask,     "mark 1",
                                                  ask,         "mark 1", "commit"};
        const std::vector<std::string> cancelled = {"resolve a", "mark 1", ask,
                                                    "message 已停止。\n成功0条，失败0条。 | (default)"};
        const std::vector<std::string>& expected = retry ? retried : cancelled;
        EXPECT_EQ(
            std::vector<std::string>(surface.steps.begin() + 1, surface.steps.begin() + 1 + expected.size()),
            expected);
        EXPECT_EQ(surface.commit_bodies.size(), retry ? 2u : 0u);
    }
}

TEST(RunBatch, ShowsACommitAsItGoesOutOnlyOnceItsMarkIsOnDisk) {
    RecordingSurface surface;
    surface.resolve_answers["a"] = Answer("C1", "2048", "T");
    surface.marks_refused = 1;
    surface.retry = true;
    RunBatch(Input({"unresolved", "a"}), surface);
    EXPECT_EQ(surface.committing, std::vector<std::string>{"2T2KBa mark 2"});
}

TEST(RunBatch, ReasonForEveryRowEmptyForASuccess) {
    RecordingSurface surface;
    surface.resolve_answers["good"] = Answer("C1", "1", "T");
    surface.resolve_answers["flag0"] = "queryUrl(0,'','','','0',new Array(),new Array(),new Array(),"
                                       "new Array(),new Array(),new Array(),'0.1')";
    RunBatch(Input({"good", "flag0", "unreachable"}), surface);
    EXPECT_EQ(surface.reasons, (std::vector<std::string>{"", "未能解析链接", "网络错误"}));
}

TEST(RunBatch, StopLetsTheCurrentLinkFinishAndAddsNoFurtherRow) {
    RecordingSurface surface;
    surface.stop_after_rows = 2;
    AnswerAll(surface);
    RunBatch(Input({"a", "b", "c", "d"}), surface);
    EXPECT_EQ(surface.reasons.size(), 2u);
    EXPECT_EQ(surface.steps.back(), "message 已停止。\n成功2条，失败0条。 | (default)");
    EXPECT_EQ(surface.steps.at(surface.steps.size() - 2), "progress 2 50%");

    RecordingSurface last;
    last.resolve_answers["a"] = Answer("C1", "1", "T");
    last.stop_after_rows = 1; // asked for during the only link: the run is complete anyway
    RunBatch(Input({"a"}), last);
    EXPECT_EQ(last.steps.back(), "message 全部完成！\n成功1条，失败0条。 | (default)");
}

TEST(RunBatch, ProcessesTheGivenPositionsAndCountsFailuresAtTheEnd) {
    RecordingSurface surface;
    surface.resolve_answers["b"] = Answer("C1", "1", "T");
    surface.resolve_answers["d"] = "queryUrl(0,'','','','0',new Array(),new Array(),new Array(),"
                                   "new Array(),new Array(),new Array(),'0.1')";
    BatchInput input = Input({"a", "b", "c", "d"});
    input.positions = {4, 2};
    RunBatch(input, surface);
    EXPECT_EQ(surface.positions, (std::vector<int>{4, 2}));
    EXPECT_EQ(surface.steps.at(0), "range 2");
    EXPECT_EQ(surface.steps.at(2), "row 4 |  | 0KB | d | 提交失败！");
    EXPECT_EQ(surface.steps.at(4 + 2), "mark 2"); // the list's position
    EXPECT_EQ(surface.steps.back(), "message 全部完成！\n成功1条，失败1条。 | (default)");

    RecordingSurface stopped;
    stopped.resolve_answers = surface.resolve_answers;
    stopped.stop_after_rows = 1;
    RunBatch(input, stopped);
    EXPECT_EQ(stopped.steps.back(), "message 已停止。\n成功0条，失败1条。 | (default)");
}

TEST(RunBatch, CommitsForTheUserTheRunStartedWith) {
    RecordingSurface surface;
    surface.resolve_answers["L"] = Answer("C1", "1", "T");
    RunBatch(Input({"L"}, "424242"), surface);
    ASSERT_EQ(surface.commit_bodies.size(), 1u);
    EXPECT_EQ(surface.commit_bodies[0].rfind("uid=424242&", 0), 0u) << surface.commit_bodies[0];
}

TEST(RunBatch, ReadsTheIntervalAnewBeforeEveryWait) {
    RecordingSurface surface;
    surface.intervals = {7, 1000, -5};
    AnswerAll(surface);
    RunBatch(Input({"a", "b", "c", "d"}), surface);
    std::vector<std::string> waits;
    for (const std::string& step : surface.steps)
        if (step.rfind("wait ", 0) == 0) waits.push_back(step);
    EXPECT_EQ(waits, (std::vector<std::string>{"wait 7", "wait 1000", "wait -5", "wait -5"}));
}

TEST(RunBatch, StreaksGetTheirRowsWhenAnotherLinkEndsOtherwiseNoneWhenThePauseIsCancelled) {
    RecordingSurface flushed;
    AnswerAll(flushed);
    flushed.resolve_answers.erase("b");
    flushed.resolve_answers.erase("c");
    RunBatch(Input({"a", "b", "c", "d"}), flushed);
    EXPECT_EQ(flushed.reasons, (std::vector<std::string>{"", "网络错误", "网络错误", ""}));
    EXPECT_EQ(flushed.steps.at(16), "row 2 |  | 0KB | b | 提交失败！");

    RecordingSurface cancelled;
    RunBatch(Input({"a", "b", "c", "d"}), cancelled);
    EXPECT_TRUE(cancelled.reasons.empty());
    EXPECT_EQ(cancelled.steps.back(), "message 已停止。\n成功0条，失败0条。 | (default)");
    EXPECT_EQ(cancelled.pause_labels, (std::vector<std::string>{"已暂停：无法连接到服务"}));

    // The service that keeps saying "too fast": three busy links pause the run; cancelled, every busy
    // link keeps its row.
    const std::string too_fast = "queryUrl({\"msg\":\"操作过于频繁\"})";
    for (const bool third_busy : {false, true}) {
        RecordingSurface busy;
        AnswerAll(busy);
        busy.resolve_answers["a"] = busy.resolve_answers["b"] = too_fast;
        if (third_busy) busy.resolve_answers["c"] = too_fast;
        RunBatch(Input({"a", "b", "c", "d"}), busy);
        const auto asked =
            std::count(busy.steps.begin(), busy.steps.end(),
                       "ask 服务繁忙，已连续3条链接提交未成功。请稍后按“重试”继续；按“取消”停止提交。");
        EXPECT_EQ(asked, third_busy ? 1 : 0);
        const std::vector<std::string> kept{"服务繁忙", "服务繁忙", third_busy ? "服务繁忙" : "", ""};
        EXPECT_EQ(busy.reasons, std::vector<std::string>(kept.begin(), kept.end() - third_busy));
    }
}

} // namespace
} // namespace brindor
