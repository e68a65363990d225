#include "submit/failure_reason.h"

#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

constexpr const char* kNetworkError = "网络错误";
constexpr const char* kServerError = "服务器错误";
constexpr const char* kNotResolved = "未能解析链接";
constexpr const char* kRefused = "服务拒绝";
constexpr const char* kSignedOut = kSignedOutReason;
constexpr const char* kBusy = "服务繁忙";

bool Contains(TextRef text, TextRef sought) {
    return find_text(text, sought, 1, true) != -1;
}

// A page where a script answer was expected: the interface's own error page or, when it asks for
// a password, the sign-in page the service sends to a visitor it does not know.
bool IsHtml(TextRef text) {
    return Contains(text, "<html") || Contains(text, "<!DOCTYPE");
}

bool LooksSignedOut(TextRef text) {
    if (IsHtml(text))
        return Contains(text, "login") || Contains(text, "登录") || Contains(text, "登陆") ||
               Contains(text, "password");
    const Text message = ServiceMessage(text);
    return Contains(message, "not signed in") || Contains(message, "未登录") || Contains(message, "请登录") ||
           Contains(message, "请登陆");
}

// The exchange itself: nothing usable arrived, or the service answered with an error status.
const char* ExchangeFailure(const ServiceAnswer& answer) {
    const bool success_status = answer.status >= 200 && answer.status < 300;
    if (answer.status != 0 && !success_status) return kServerError;
    if (answer.text.empty()) return kNetworkError;
    if (LooksSignedOut(answer.text)) return kSignedOut;
    if (IsHtml(answer.text)) return kServerError;
    return nullptr;
}

} // namespace

Text ServiceMessage(TextRef answer) {
    static constexpr char kKey[] = "\"msg\":\"";
    const int key = find_text(answer, kKey);
    if (key == -1) return {};
    const char* p = answer.c_str() + key - 1 + (sizeof kKey - 1);
    TextBuilder message;
    for (; *p && *p != '"'; ++p) {
        // A double-byte character may end in the backslash's byte value: copied as a pair.
        if (static_cast<unsigned char>(*p) >= 0x81 && p[1])
            message.append(*p++);
        else if (*p == '\\' && p[1])
            ++p;
        message.append(*p);
    }
    return message.take();
}

Text FailureReason(const LinkOutcome& outcome) {
    if (outcome.accepted) return {};
    if (outcome.busy) return kBusy;
    if (const char* failure = ExchangeFailure(outcome.resolve)) return failure;
    if (!outcome.committed || outcome.fields.cid.empty()) return kNotResolved;
    if (const char* failure = ExchangeFailure(outcome.commit)) return failure;
    const Text message = ServiceMessage(outcome.commit.text);
    if (message.empty()) return kRefused;
    return concat_text({kRefused, "：", message});
}

} // namespace brindor
