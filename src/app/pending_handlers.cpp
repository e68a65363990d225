// Handlers whose work is not built yet. Each moves to its own subsystem when it is.
#include "app/handlers.h"

namespace brindor::app {

void ImportLinks() {}
void NavigateSignInPage() {}
void ReadSignInCookies() {}

} // namespace brindor::app
