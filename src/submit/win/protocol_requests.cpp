#include "submit/win/protocol_requests.h"

#include <ctime>
#include <utility>

#include "net/http_request_parts.h"
#include "net/win/http_request.h"
#include "runtime/core/text_ops.h"
#include "submit/commit_body.h"
#include "submit/service_requests.h"
#include "submit/throttle_policy.h"
#include "text/win/code_pages.h"
#include "text/win/script_timestamp.h"
#include "text/win/url_encode.h"

namespace brindor {

ServiceAnswer ResolveLink(TextRef link) {
    Text raw_headers;
    Text answer = HttpRequest(ResolveUrl(link), 0, "", nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                              nullptr, &raw_headers);
    if (ResolveAnswerStillUtf8(answer, raw_headers)) answer = Utf8TextToGbk(answer);
    return ServiceAnswer{std::move(answer), AnswerStatus(raw_headers), Text("queryUrl"),
                         RetryAfterMs(raw_headers, std::time(nullptr))};
}

Text BuildCommitBody(TextRef user_id, const TaskFields& fields) {
    return JoinCommitFields(user_id, UrlEncode(fields.title, true, true), fields);
}

ServiceAnswer CommitTask(TextRef body) {
    Text timestamp = ScriptTimestamp();
    Text raw_headers;
    Text answer = HttpRequest(CommitUrl(timestamp), 1, body, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                              nullptr, &raw_headers);
    return ServiceAnswer{std::move(answer), AnswerStatus(raw_headers), concat_text("jsonp", timestamp),
                         RetryAfterMs(raw_headers, std::time(nullptr))};
}

} // namespace brindor
