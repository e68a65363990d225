// The offline service, as a run asks it; the program's own speaks HTTP, tests answer in memory.
#pragma once
#include "runtime/core/text_ref.h"
#include "submit/service/service_answer.h"
#include "submit/service/task_fields.h"

namespace brindor {

class ServiceClient {
  public:
    virtual ~ServiceClient() = default;
    virtual ServiceAnswer Resolve(TextRef link) = 0;
    // Builds the commit body for the user from the fields and sends it; the answer as received.
    virtual ServiceAnswer Commit(TextRef user_id, const TaskFields& fields) = 0;
};

} // namespace brindor
