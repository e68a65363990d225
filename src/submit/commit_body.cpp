#include "submit/commit_body.h"

#include "runtime/core/text_ops.h"

namespace brindor {

Text JoinCommitFields(TextRef user_id, TextRef encoded_title, const TaskFields& fields) {
    return concat_text({"uid=", user_id, "&btname=", encoded_title, "&cid=", fields.cid,
                        "&goldbean=0&silverbean=0&tsize=", fields.tsize, "&findex=", fields.findex,
                        "&size=", fields.size, "&o_taskid=0&o_page=task&class_id=0&interfrom=task"});
}

bool IsCommitAccepted(const ServiceAnswer& answer) {
    return !answer.text.empty() && find_text(answer.text, "null") == -1;
}

} // namespace brindor
