// The offline service as a run asks it: the two requests of one link over the program's HTTP.
#pragma once
#include "submit/service/service_client.h"

namespace brindor {

class HttpServiceClient : public ServiceClient {
  public:
    ServiceAnswer Resolve(TextRef link) override;
    ServiceAnswer Commit(TextRef user_id, const TaskFields& fields) override;
};

} // namespace brindor
