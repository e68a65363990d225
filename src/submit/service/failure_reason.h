// Why a link was not submitted, in words the user can act on. Judged from both answers as the
// worker received them; empty text for a link the service accepted.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/links/link_record.h"
#include "submit/service/service_answer.h"
#include "submit/service/task_fields.h"

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
inline constexpr char kUnknownReason[] = "结果未知（任务可能已建立）";

enum class CommitVerdict {
    kConfirmed,
    kRefused, // the service said it made nothing: a refusal, too fast, or nobody signed in
    kUnknown, // nothing readable came back after the POST, or an answer that contradicts itself:
              // the task may exist
};

// The one reading of a commit's answer that decides whether it may ever be sent again.
CommitVerdict JudgeCommit(const ServiceAnswer& commit);

Text FailureReason(const LinkOutcome& outcome);
// What the record keeps of the link: succeeded, failed, or unknown after a commit went out.
LinkState OutcomeState(const LinkOutcome& outcome);

} // namespace brindor
