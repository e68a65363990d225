// Outcomes after which a run waits for the user instead of failing link after link.
#pragma once
#include "submit/service/failure_reason.h"
#include "submit/service/service_answer.h"

namespace brindor {

// Nothing came back: no connection, a cut answer or a time-out; an error status is an answer.
bool NoAnswer(const ServiceAnswer& answer);

// The link would fail as 未登录: the session ended, and signing in again would let it through.
bool IsSignedOut(const LinkOutcome& outcome);

} // namespace brindor
