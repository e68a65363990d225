#include "app/handlers.h"
#include "app/program_ids.h"
#include "app/signin/win/host_cookie.h"
#include "app/state.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

void NavigateSignInPage() {
    kSignInBrowser.Navigate("http://" BRINDOR_WEB_HOST "/task.html");
}

void ReadSignInCookies() {
    SignedInUserName = GetHostCookie(BRINDOR_WEB_HOST, "usrname");
    SignedInUserId = GetHostCookie(BRINDOR_WEB_HOST, "userid");
    // Without a login the label must not go on showing the last account: the worker refuses to run.
    const bool signed_in = !SignedInUserName.empty() && !SignedInUserId.empty();
    kSignInStateLabel.SetText(signed_in ? concat_text({SignedInUserName, "|", SignedInUserId}).c_str() : "");
}

} // namespace brindor::app
