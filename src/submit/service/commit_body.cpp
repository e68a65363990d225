#include "submit/service/commit_body.h"

#include "runtime/core/text_ops.h"
#include "submit/service/answer_shape.h"
#include "text/percent_encode.h"

namespace brindor {

Text JoinCommitFields(TextRef user_id, TextRef encoded_title, const TaskFields& fields) {
    return concat_text({"uid=", PercentEncodeFormValue(user_id), "&btname=", encoded_title,
                        "&cid=", PercentEncodeFormValue(fields.cid),
                        "&goldbean=0&silverbean=0&tsize=", PercentEncodeFormValue(fields.tsize), "&findex=",
                        PercentEncodeFormValue(fields.findex), "&size=", PercentEncodeFormValue(fields.size),
                        "&o_taskid=0&o_page=task&class_id=0&interfrom=task"});
}

bool IsCommitAccepted(const ServiceAnswer& answer) {
    if (answer.text.empty() || answer.status < 200 || answer.status > 299) return false;
    return ReadCommitShape(answer.text) == CommitShape::kConfirmation;
}

} // namespace brindor
