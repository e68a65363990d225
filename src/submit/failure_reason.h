// Why a link was not submitted, in words the user can act on. Judged from both answers as the
// worker received them; empty text for a link the service accepted.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/service_answer.h"
#include "submit/task_fields.h"

namespace brindor {

struct LinkOutcome {
    ServiceAnswer resolve;
    TaskFields fields;      // as parsed from the resolve answer
    bool committed = false; // a commit request was sent
    ServiceAnswer commit;
    bool accepted = false;
    bool busy = false; // the service kept answering "too fast" until the tries ran out
};

inline constexpr char kSignedOutReason[] = "未登录";

Text FailureReason(const LinkOutcome& outcome);

// The "msg" value of a JSON answer, unescaped; empty when there is none.
Text ServiceMessage(TextRef answer);

} // namespace brindor
