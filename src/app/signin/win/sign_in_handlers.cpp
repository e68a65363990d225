#include "app/handlers.h"
#include "app/signin/win/host_cookie.h"
#include "app/state.h"
#include "app/windows/ids.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

void NavigateSignInPage() {
    write_property(kSignInBrowser, kBrowserAddress, "http://" BRINDOR_WEB_HOST "/task.html");
}

void ReadSignInCookies() {
    SignedInUserName = GetHostCookie(BRINDOR_WEB_HOST, "usrname");
    SignedInUserId = GetHostCookie(BRINDOR_WEB_HOST, "userid");
    // A closing without a sign-in keeps showing the last account that did sign in.
    if (SignedInUserName.empty() || SignedInUserId.empty()) return;
    write_property(kSignInStateLabel, kLabelCaption,
                   concat_text({SignedInUserName, "|", SignedInUserId}).c_str());
}

} // namespace brindor::app
