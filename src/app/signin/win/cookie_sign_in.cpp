// Signing in with the cookies of a browser that is signed in, for when the embedded page cannot
// be used (no HTML engine under Wine, sign-in scripts the control does not run).
#include <cstdint>
#include <ctime>

#include "app/handlers.h"
#include "app/program_ids.h"
#include "app/signin/pasted_cookies.h"
#include "declared/declared_functions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

namespace {

// Lets a cookie replace one the store holds as HttpOnly; whether the new one is HttpOnly is up to
// its own data.
constexpr uint32_t kCookieHttpOnly = 0x2000;

constexpr const char* kServiceHosts[] = {BRINDOR_INTERFACE_HOST, BRINDOR_WEB_HOST, BRINDOR_NOTICE_HOST};

void StoreCookies(const PastedCookies& pasted) {
    for (const char* host : kServiceHosts) {
        Text url = concat_text({"http://", host, "/"});
        for (const PastedCookie& cookie : pasted.cookies) {
            Text data = CookieStoreData(cookie);
            call_declared<uint32_t>(kInternetSetCookieExA, url.c_str(), cookie.name.c_str(), data.c_str(),
                                    kCookieHttpOnly, static_cast<void*>(nullptr));
        }
    }
}

} // namespace

void OpenCookieSignIn() {
    load_window(kCookieWindowId, nullptr, true);
}

void ConfirmCookieSignIn() {
    Text text = kCookieTextEdit.ReadText();
    PastedCookies pasted = ReadPastedCookies(text, static_cast<int64_t>(std::time(nullptr)), kServiceHosts);
    if (Text missing = MissingLoginCookies(pasted); !missing.empty()) {
        message_box(missing.c_str(), 0, "提示");
        return;
    }
    StoreCookies(pasted);
    close_window(kCookieWindowId);
    // An open sign-in window reads the login as it closes; otherwise it is read here, the same way.
    if (window_is_loaded(kSignInWindowId))
        close_window(kSignInWindowId);
    else
        ReadSignInCookies();
}

void CancelCookieSignIn() {
    close_window(kCookieWindowId);
}

} // namespace brindor::app
