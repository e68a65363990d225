// The commit request's form body and the reading of its answer.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/service_answer.h"
#include "submit/task_fields.h"

namespace brindor {

// The twelve form fields in the service's order. Only the title is encoded (by the caller: its
// UTF-8 bytes as upper-case %XX); the other values go in as held.
Text JoinCommitFields(TextRef user_id, TextRef encoded_title, const TaskFields& fields);

// The service marks a refusal with null somewhere in its answer; an empty answer is a failed
// exchange, not a confirmation.
bool IsCommitAccepted(const ServiceAnswer& answer);

} // namespace brindor
