#include "submit/service/win/service_client.h"

#include "submit/service/win/protocol_requests.h"

namespace brindor {

ServiceAnswer HttpServiceClient::Resolve(TextRef link) {
    return ResolveLink(link);
}

ServiceAnswer HttpServiceClient::Commit(TextRef user_id, const TaskFields& fields) {
    return CommitTask(BuildCommitBody(user_id, fields));
}

} // namespace brindor
