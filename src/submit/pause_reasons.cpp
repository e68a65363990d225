#include "submit/pause_reasons.h"

#include "runtime/core/text_ops.h"

namespace brindor {

bool NoAnswer(const ServiceAnswer& answer) {
    const bool error_status = answer.status != 0 && (answer.status < 200 || answer.status >= 300);
    return answer.text.empty() && !error_status;
}

bool IsSignedOut(const LinkOutcome& outcome) {
    return !outcome.accepted && compare_text(FailureReason(outcome), kSignedOutReason) == 0;
}

} // namespace brindor
