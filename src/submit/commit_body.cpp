#include "submit/commit_body.h"

#include <cstddef>
#include <cstring>

#include "runtime/core/text_ops.h"
#include "text/percent_encode.h"

namespace brindor {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The answer is the callback's call and nothing after it: name, "(", ..., ")" and at most a ";".
bool IsCallbackCall(TextRef text, TextRef callback) {
    const char* begin = text.c_str();
    while (IsSpace(*begin))
        ++begin;
    const char* name = callback.c_str();
    size_t name_length = static_cast<size_t>(text_length(callback));
    if (name_length == 0 || std::strncmp(begin, name, name_length) != 0 || begin[name_length] != '(')
        return false;
    const char* end = begin + std::strlen(begin);
    while (end > begin && IsSpace(end[-1]))
        --end;
    if (end > begin && end[-1] == ';') --end;
    return end - begin > static_cast<ptrdiff_t>(name_length + 1) && end[-1] == ')';
}

} // namespace

Text JoinCommitFields(TextRef user_id, TextRef encoded_title, const TaskFields& fields) {
    return concat_text({"uid=", PercentEncodeFormValue(user_id), "&btname=", encoded_title,
                        "&cid=", PercentEncodeFormValue(fields.cid),
                        "&goldbean=0&silverbean=0&tsize=", PercentEncodeFormValue(fields.tsize), "&findex=",
                        PercentEncodeFormValue(fields.findex), "&size=", PercentEncodeFormValue(fields.size),
                        "&o_taskid=0&o_page=task&class_id=0&interfrom=task"});
}

bool IsCommitAccepted(const ServiceAnswer& answer) {
    if (answer.text.empty() || answer.status < 200 || answer.status > 299) return false;
    return IsCallbackCall(answer.text, answer.callback) && find_text(answer.text, "null") == -1;
}

} // namespace brindor
