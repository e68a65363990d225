// The commit request's form body and the reading of its answer.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/service/service_answer.h"
#include "submit/service/task_fields.h"

namespace brindor {

// The twelve form fields in the service's order. The title comes encoded by the caller (its UTF-8
// bytes as upper-case %XX); every other value is encoded here, so no "&" or "=" from the service
// can make a field of its own, while letters, digits, "-", ".", "_" and "~" stay as they are.
Text JoinCommitFields(TextRef user_id, TextRef encoded_title, const TaskFields& fields);

// Only the service's own word counts: a completed exchange with a 2xx status whose body is one
// confirmation (submit/service/answer_shape), without the null that marks a refusal. An error page, a
// login page, a second statement or a cut answer is a failure.
bool IsCommitAccepted(const ServiceAnswer& answer);

} // namespace brindor
