#include "submit/service/service_requests.h"

#include "net/http_request_parts.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "text/percent_encode.h"

namespace brindor {

namespace {

constexpr char kInterfaceOrigin[] = "http://" BRINDOR_INTERFACE_HOST;

bool stands_in_request_line(unsigned char byte) {
    return byte > 0x20 && byte < 0x7F && byte != '#';
}

} // namespace

Text EscapeLinkForQuery(TextRef link) {
    return PercentEncodeExcept(link, stands_in_request_line);
}

Text ResolveUrl(TextRef link) {
    Text escaped = EscapeLinkForQuery(link);
    return concat_text(
        {kInterfaceOrigin, "/interface/url_query?callback=queryUrl&u=", escaped, "&interfrom=task"});
}

Text CommitUrl(TextRef timestamp) {
    return concat_text({kInterfaceOrigin, "/interface/bt_task_commit?callback=jsonp", timestamp});
}

bool ResolveAnswerStillUtf8(TextRef answer, TextRef raw_headers) {
    return !IsUtf8Answer(to_bytes(answer), raw_headers);
}

} // namespace brindor
