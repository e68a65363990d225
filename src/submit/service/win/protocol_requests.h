// The two requests of one link to the offline service's interface host.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/service/service_answer.h"
#include "submit/service/task_fields.h"

namespace brindor {

// The answer in code page 936, decoded from UTF-8 once; empty when the request failed.
ServiceAnswer ResolveLink(TextRef link);

// The commit form body for the signed-in user id; the title travels as its UTF-8 bytes, %XX.
Text BuildCommitBody(TextRef user_id, const TaskFields& fields);

// The answer as the request routine gives it; empty when the request failed.
ServiceAnswer CommitTask(TextRef body);

} // namespace brindor
