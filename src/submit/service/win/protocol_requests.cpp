#include "submit/service/win/protocol_requests.h"

#include <ctime>
#include <utility>

#include "net/win/http_request.h"
#include "runtime/core/text_ops.h"
#include "submit/service/commit_body.h"
#include "submit/service/service_requests.h"
#include "submit/service/throttle_policy.h"
#include "submit/service/wide_escapes.h"
#include "submit/service/win/decoded_message.h"
#include "text/win/code_pages.h"
#include "text/win/script_timestamp.h"
#include "text/win/url_encode.h"

namespace brindor {

ServiceAnswer ResolveLink(TextRef link) {
    Text raw_headers;
    int32_t status = 0;
    Text answer = HttpRequest(ResolveUrl(link), 0, "", nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                              nullptr, &raw_headers, &status);
    if (ResolveAnswerStillUtf8(answer, raw_headers)) answer = Utf8TextToGbk(answer);
    Text message = ServiceMessage(answer);
    answer = DecodeWideEscapes(answer, DecodedEscapes);
    return ServiceAnswer{std::move(answer), status, Text("queryUrl"),
                         RetryAfterMs(raw_headers, std::time(nullptr)), std::move(message)};
}

Text BuildCommitBody(TextRef user_id, const TaskFields& fields) {
    return JoinCommitFields(user_id, UrlEncode(fields.title, true, true), fields);
}

ServiceAnswer CommitTask(TextRef body) {
    Text timestamp = ScriptTimestamp();
    Text raw_headers;
    int32_t status = 0;
    Text answer = HttpRequest(CommitUrl(timestamp), 1, body, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                              nullptr, &raw_headers, &status);
    Text message = ServiceMessage(answer);
    return ServiceAnswer{std::move(answer), status, concat_text("jsonp", timestamp),
                         RetryAfterMs(raw_headers, std::time(nullptr)), std::move(message)};
}

} // namespace brindor
