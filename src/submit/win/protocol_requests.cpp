#include "submit/win/protocol_requests.h"

#include "net/win/http_request.h"
#include "submit/commit_body.h"
#include "submit/service_requests.h"
#include "text/win/code_pages.h"
#include "text/win/script_timestamp.h"
#include "text/win/url_encode.h"

namespace brindor {

Text ResolveLink(TextRef link) {
    Text raw_headers;
    Text answer = HttpRequest(ResolveUrl(link), 0, "", nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                              nullptr, &raw_headers);
    return ResolveAnswerStillUtf8(answer, raw_headers) ? Utf8TextToGbk(answer) : answer;
}

Text BuildCommitBody(TextRef user_id, const TaskFields& fields) {
    return JoinCommitFields(user_id, UrlEncode(fields.title, true, true), fields);
}

Text CommitTask(TextRef body) {
    return HttpRequest(CommitUrl(ScriptTimestamp()), 1, body);
}

} // namespace brindor
