#include "submit/service_requests.h"

#include <cstring>

#include "net/http_request_parts.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

constexpr char kInterfaceOrigin[] = "http://" BRINDOR_INTERFACE_HOST;

bool stands_in_request_line(unsigned char byte) {
    return byte > 0x20 && byte < 0x7F && byte != '#';
}

} // namespace

Text EscapeLinkForQuery(TextRef link) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const unsigned char* bytes = link.bytes();
    TextBuilder escaped(std::strlen(link.c_str()));
    for (; *bytes; ++bytes) {
        if (stands_in_request_line(*bytes)) {
            escaped.append(static_cast<char>(*bytes));
        } else {
            escaped.append('%');
            escaped.append(kHex[*bytes >> 4]);
            escaped.append(kHex[*bytes & 0x0F]);
        }
    }
    return escaped.take();
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
