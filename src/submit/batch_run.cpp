#include "submit/batch_run.h"

#include <ctime>
#include <random>
#include <utility>
#include <vector>

#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "submit/pause_reasons.h"
#include "submit/progress_text.h"
#include "submit/service/commit_body.h"
#include "submit/service/failure_reason.h"
#include "submit/service/resolve_answer.h"
#include "submit/service/throttle_policy.h"

namespace brindor {

namespace {

constexpr const char* kSignedOutPrompt =
    "登录已失效。请重新登陆迅雷离线（或使用Cookie登录），完成后按“重试”继续；按“取消”停止提交。";
constexpr const char* kUnrecordedPrompt =
    "无法写入提交记录（磁盘已满或文件被占用）。按“重试”继续；按“取消”停止提交。";
constexpr const char* kUnreachablePrompt =
    "无法连接到服务，已连续3条链接网络错误。请检查网络后按“重试”继续；按“取消”停止提交。";
constexpr const char* kBusyPrompt =
    "服务繁忙，已连续3条链接提交未成功。请稍后按“重试”继续；按“取消”停止提交。";
// What the percentage label says while each pause box waits.
constexpr const char* kSignedOutLabel = "已暂停：登录已失效";
constexpr const char* kUnreachableLabel = "已暂停：无法连接到服务";
constexpr const char* kBusyLabel = "已暂停：服务繁忙";
constexpr const char* kUnrecordedLabel = "已暂停：无法写入提交记录";
// Links in a row that got no answer, or that the service kept too busy to take, before the run
// asks the user instead of failing link after link.
constexpr int kStreakPause = 3;
// A dropped resolve is common and harmless to repeat; a commit is never repeated for it.
constexpr int32_t kResolveRetryMs = 1000;

// Whom a run works with.
struct Partners {
    ServiceClient& service;
    RunScreen& screen;
    BatchRecord& record;
};

// Requests of one link answered "too fast" so far, and where the jitter of the waits comes from.
struct ThrottleTries {
    std::minstd_rand& random;
    int used = 0;
    bool exhausted = false;

    double Jitter() { return std::uniform_real_distribution<double>(-1.0, 1.0)(random); }
};

// Sends one request again while the service answers that the client is too fast. False when a
// stop ended a wait; `tries.exhausted` when the service never calmed down.
template <class Send, class Served>
bool SendUntilServed(Send send, Served served, ServiceAnswer& answer, ThrottleTries& tries,
                     RunScreen& screen) {
    for (;;) {
        answer = send();
        if (served(answer) || !IsThrottled(answer)) return true;
        if (++tries.used >= kThrottleTries) {
            tries.exhausted = true;
            return true;
        }
        if (!screen.WaitThrottled(ThrottleWaitMs(answer, tries.used - 1, tries.Jitter()))) return false;
    }
}

ServiceAnswer ResolveTwiceIfUnanswered(TextRef link, Partners& with) {
    ServiceAnswer answer = with.service.Resolve(link);
    if (!NoAnswer(answer)) return answer;
    with.screen.Wait(kResolveRetryMs);
    return with.service.Resolve(link);
}

bool Confirmed(const ServiceAnswer& commit) {
    return JudgeCommit(commit) == CommitVerdict::kConfirmed;
}

// Anything but the service's word that nothing was made ends a link's commits.
bool Settled(const ServiceAnswer& commit) {
    return JudgeCommit(commit) != CommitVerdict::kRefused;
}

// A stop pressed while the box waited for an answer counts as 取消.
bool GoOn(const char* prompt, const char* label, RunScreen& screen) {
    return screen.AskRetry(prompt, label) && !screen.StopRequested();
}

// Resolves and commits one link; accepted only for a commit the service confirmed. A commit is
// sent again only after an answer that says nothing was made. False when a stop ended a wait or
// the user declined to go on without the commit's mark.
bool SubmitLink(int position, TextRef link, TextRef user_id, LinkOutcome& outcome, Partners& with,
                std::minstd_rand& random) {
    ThrottleTries tries{random};
    const auto never = [](const ServiceAnswer&) { return false; };
    if (!SendUntilServed([&] { return ResolveTwiceIfUnanswered(link, with); }, never, outcome.resolve, tries,
                         with.screen))
        return false;
    outcome.busy = tries.exhausted;
    if (outcome.busy) return true;
    // A cut or unknown answer would send a commit with fields missing; it leaves the row as empty.
    TaskFields fields;
    if (!ParseResolveAnswer(outcome.resolve.text, fields)) return true;
    outcome.fields = std::move(fields);
    // Without a content id there is nothing the service could create a task from.
    if (outcome.fields.cid.empty()) return true;
    while (!with.record.Mark(position, user_id))
        if (!GoOn(kUnrecordedPrompt, kUnrecordedLabel, with.screen)) return false;
    outcome.committed = true;
    with.screen.ShowCommitting(position, outcome.fields.title, FormatSize(outcome.fields.tsize), link);
    if (!SendUntilServed([&] { return with.service.Commit(user_id, outcome.fields); }, Settled,
                         outcome.commit, tries, with.screen))
        return false;
    outcome.accepted = Confirmed(outcome.commit);
    outcome.busy = tries.exhausted;
    return true;
}

struct RunTally {
    int succeeded = 0;
    int failed = 0;
    int unknown = 0;
};

const char* StatusText(LinkState state) {
    if (state == LinkState::kSucceeded) return "提交成功！";
    return state == LinkState::kUnknown ? "结果未知" : "提交失败！";
}

// Where the run's i-th link stands in the input's list.
int Position(const BatchInput& input, int i) {
    return input.positions.empty() ? i : input.positions[i - 1];
}

// On disk before it is on the screen, so a killed process keeps every row the user saw.
void RecordOutcome(int position, const LinkOutcome& outcome, BatchRecord& record) {
    record.Outcome(position, OutcomeState(outcome), outcome.fields.title, FormatSize(outcome.fields.tsize),
                   FailureReason(outcome));
}

void ReportLink(int i, int count, const BatchInput& input, const LinkOutcome& outcome, RunTally& tally,
                Partners& with) {
    const int position = Position(input, i);
    const LinkState state = OutcomeState(outcome);
    ++(state == LinkState::kSucceeded ? tally.succeeded
       : state == LinkState::kUnknown ? tally.unknown
                                      : tally.failed);
    const Text size = FormatSize(outcome.fields.tsize);
    RecordOutcome(position, outcome, with.record);
    with.screen.FillRow(position, state, to_text(position), outcome.fields.title, size,
                        input.links.at(position), StatusText(state), FailureReason(outcome));
    with.screen.Wait(with.screen.Interval());
    with.screen.ShowProgress(i, PercentText(i, count));
}

enum class Streak { kNone, kUnanswered, kBusy };

Streak StreakOf(const LinkOutcome& outcome) {
    if (NoAnswer(outcome.resolve)) return Streak::kUnanswered;
    return outcome.busy ? Streak::kBusy : Streak::kNone;
}

// Links of one streak, held back without rows: when the streak grows long enough the run pauses
// and, asked to go on, starts again from the first of them.
struct HeldBack {
    Streak kind = Streak::kNone;
    int first = 0;
    std::vector<LinkOutcome> outcomes;

    // Their rows, once a link ended otherwise or the run ends.
    void Report(const BatchInput& input, int total, RunTally& tally, Partners& with) {
        for (size_t k = 0; k < outcomes.size(); ++k)
            ReportLink(first + static_cast<int>(k), total, input, outcomes[k], tally, with);
        Drop();
    }
    void Drop() {
        outcomes.clear();
        kind = Streak::kNone;
    }
};

// The one way a run ends, however it came to its end.
void EndRun(const char* how, const RunTally& tally, Partners& with) {
    const Text lost = with.record.End(how) ? Text() : concat_text("\n", "本次提交记录未能保存到磁盘。");
    const Text unknown =
        tally.unknown > 0 ? concat_text({"，结果未知", to_text(tally.unknown), "条"}) : Text();
    const Text counts = concat_text(
        {"成功", to_text(tally.succeeded), "条，失败", to_text(tally.failed), "条", unknown, "。"});
    with.screen.ShowEnd(concat_text({how, "\n", counts, lost}).c_str());
}

} // namespace

void RunBatch(const BatchInput& input, ServiceClient& service, RunScreen& screen, BatchRecord& record) {
    const int count =
        input.positions.empty() ? element_count(input.links) : static_cast<int>(input.positions.size());
    if (count == 0 || input.user_id.empty()) {
        screen.RefuseRun("数组里面没有数据，或者还没有登陆迅雷离线平台", "提示");
        return;
    }
    record.Begin(input);
    screen.BeginProgress(count);
    Partners with{service, screen, record};
    Text user_id = input.user_id;
    // Only the waits' jitter comes from it: any seed that differs between clients will do.
    std::minstd_rand random{static_cast<uint32_t>(std::time(nullptr) ^ reinterpret_cast<uintptr_t>(&screen))};
    const auto go_on = [&](const char* prompt, const char* label) { return GoOn(prompt, label, screen); };
    HeldBack held;
    RunTally tally;
    // Held-back links keep their rows when the run stops.
    const auto stopped = [&] {
        held.Report(input, count, tally, with);
        EndRun("已停止。", tally, with);
    };
    for (int i = 1; i <= count; ++i) {
        if (i > 1 && screen.StopRequested()) return stopped();
        const char* link = input.links.at(Position(input, i));
        // Fresh fields per link: an answer that yields nothing must not inherit the last link's.
        LinkOutcome outcome;
        if (!SubmitLink(Position(input, i), link, user_id, outcome, with, random)) {
            // Stopped in a wait after a refused commit: nothing was made, the mark must not stand.
            if (outcome.committed) RecordOutcome(Position(input, i), outcome, record);
            return stopped();
        }
        const Streak streak = StreakOf(outcome);
        if (streak != held.kind) held.Report(input, count, tally, with);
        if (streak != Streak::kNone) {
            if (held.outcomes.empty()) held.first = i;
            held.kind = streak;
            held.outcomes.push_back(std::move(outcome));
            if (static_cast<int>(held.outcomes.size()) < kStreakPause) continue;
            const int first = held.first;
            const bool busy = streak == Streak::kBusy;
            if (!go_on(busy ? kBusyPrompt : kUnreachablePrompt, busy ? kBusyLabel : kUnreachableLabel)) {
                // Links the service refused as too busy keep their rows (and their record); the
                // unanswered ones were never committed.
                if (streak == Streak::kUnanswered) held.Drop();
                return stopped();
            }
            held.Drop();
            i = first - 1;
            continue;
        }
        if (IsSignedOut(outcome)) {
            if (outcome.committed) RecordOutcome(Position(input, i), outcome, record);
            if (!go_on(kSignedOutPrompt, kSignedOutLabel)) return stopped();
            // The same link again, for whoever signed in meanwhile.
            if (Text now = screen.CurrentUserId(); !now.empty()) user_id = std::move(now);
            --i;
            continue;
        }
        ReportLink(i, count, input, outcome, tally, with);
    }
    held.Report(input, count, tally, with);
    EndRun("全部完成！", tally, with);
}

} // namespace brindor
