#include "submit/service/failure_reason.h"

#include "runtime/core/text_ops.h"
#include "submit/service/answer_shape.h"
#include "submit/service/commit_body.h"
#include "submit/service/throttle_policy.h"

namespace brindor {

namespace {

constexpr const char* kNetworkError = "网络错误";
constexpr const char* kServerError = "服务器错误";
constexpr const char* kNotResolved = "未能解析链接";
constexpr const char* kRefused = "服务拒绝";
constexpr const char* kSignedOut = kSignedOutReason;
constexpr const char* kBusy = "服务繁忙";
constexpr const char* kUnrecognised = "无法识别的应答";
constexpr const char* kUnknownPrefix = "结果未知：";

bool Contains(TextRef text, TextRef sought) {
    return find_text(text, sought, 1, true) != -1;
}

// A page where a script answer was expected is the interface's own error page or, when it asks
// for a password, the sign-in page the service sends to a visitor it does not know.
bool LooksSignedOut(const ServiceAnswer& answer) {
    if (IsHtmlPage(answer.text))
        return Contains(answer.text, "login") || Contains(answer.text, "登录") ||
               Contains(answer.text, "登陆") || Contains(answer.text, "password");
    const Text& message = answer.message;
    return Contains(message, "not signed in") || Contains(message, "未登录") || Contains(message, "请登录") ||
           Contains(message, "请登陆");
}

// The exchange itself: nothing usable arrived, or the service answered with an error status.
const char* ExchangeFailure(const ServiceAnswer& answer) {
    const bool success_status = answer.status >= 200 && answer.status < 300;
    if (answer.status != 0 && !success_status) return kServerError;
    if (answer.text.empty()) return kNetworkError;
    if (LooksSignedOut(answer)) return kSignedOut;
    if (IsHtmlPage(answer.text)) return kServerError;
    return nullptr;
}

const char* ResolveShapeFailure(TextRef answer) {
    switch (ResolveAnswerShape(answer)) {
    case ResolveShape::kCut:
        return kNetworkError;
    case ResolveShape::kOther:
        return kUnrecognised;
    case ResolveShape::kWhole:
        break;
    }
    return nullptr;
}

// The service's call says a task was made and that none was: neither may be believed, whatever its
// message asks for.
bool Contradicts(const ServiceAnswer& commit) {
    const bool success_status = commit.status >= 200 && commit.status < 300;
    return success_status && ReadCommitShape(commit.text) == CommitShape::kContradiction;
}

} // namespace

CommitVerdict JudgeCommit(const ServiceAnswer& commit) {
    if (IsCommitAccepted(commit)) return CommitVerdict::kConfirmed;
    if (Contradicts(commit)) return CommitVerdict::kUnknown;
    if (IsThrottled(commit)) return CommitVerdict::kRefused;
    if (const char* failure = ExchangeFailure(commit))
        return failure == kSignedOut ? CommitVerdict::kRefused : CommitVerdict::kUnknown;
    // The service's refusal says nothing was made; any other shape after the POST says nothing at all.
    return ReadCommitShape(commit.text) == CommitShape::kRefusal ? CommitVerdict::kRefused
                                                                 : CommitVerdict::kUnknown;
}

LinkState OutcomeState(const LinkOutcome& outcome) {
    if (outcome.accepted) return LinkState::kSucceeded;
    if (outcome.committed && !outcome.busy && JudgeCommit(outcome.commit) == CommitVerdict::kUnknown)
        return LinkState::kUnknown;
    return LinkState::kFailed;
}

Text FailureReason(const LinkOutcome& outcome) {
    if (outcome.accepted) return {};
    if (outcome.busy) return kBusy;
    if (const char* failure = ExchangeFailure(outcome.resolve)) return failure;
    // A resolve answer that is no valid script may still have been committed, read piece by piece.
    if (!outcome.committed || outcome.fields.cid.empty()) {
        const char* failure = ResolveShapeFailure(outcome.resolve.text);
        return failure ? failure : kNotResolved;
    }
    if (OutcomeState(outcome) == LinkState::kUnknown) {
        if (!Contradicts(outcome.commit) || outcome.commit.message.empty()) return kUnknownReason;
        return concat_text({kUnknownPrefix, outcome.commit.message});
    }
    if (const char* failure = ExchangeFailure(outcome.commit)) return failure;
    if (outcome.commit.message.empty()) return kRefused;
    return concat_text({kRefused, "：", outcome.commit.message});
}

} // namespace brindor
