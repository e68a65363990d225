#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <string>

#include "app/handlers.h"
#include "app/program_ids.h"
#include "app/state.h"
#include "app/windows/program_windows.h"
#include "runtime/win/program.h"
#include "runtime/win/window/control_access.h"

using namespace brindor;
using namespace brindor::app;

namespace {

const std::string kWebUrl = "http://" BRINDOR_WEB_HOST "/";

// Session cookies replace whatever an earlier end-to-end run left in the prefix's store.
void set_login_cookies(const char* name, const char* id) {
    const char* gone = "=; expires=Thu, 01 Jan 1970 00:00:01 GMT; path=/";
    for (const char* cookie : {"usrname", "userid"})
        InternetSetCookieA(kWebUrl.c_str(), nullptr, (std::string(cookie) + gone).c_str());
    if (name)
        InternetSetCookieA(kWebUrl.c_str(), nullptr, (std::string("usrname=") + name + "; path=/").c_str());
    if (id) InternetSetCookieA(kWebUrl.c_str(), nullptr, (std::string("userid=") + id + "; path=/").c_str());
}

} // namespace

TEST(ReadSignInCookies, StoresBothValuesAndShowsOnlyACompleteSignIn) {
    initialize_runtime();
    CreateProgramState();
    register_program_windows();
    ASSERT_TRUE(load_window(kMainWindowId));
    struct Case {
        const char* label;
        const char* name_cookie;
        const char* id_cookie;
        const char* name;
        const char* id;
        const char* caption;
    } cases[] = {
        {"signed in", "alice", "1234", "alice", "1234", "alice|1234"},
        {"only the name", "carol", nullptr, "carol", "", ""},
        {"only the id", nullptr, "77", "", "77", ""},
        {"signed out", nullptr, nullptr, "", "", ""},
        {"another account", "bob", "9", "bob", "9", "bob|9"},
    };
    for (const Case& c : cases) {
        set_login_cookies(c.name_cookie, c.id_cookie);
        ReadSignInCookies();
        EXPECT_EQ(SignedInUserName, c.name) << c.label;
        EXPECT_EQ(SignedInUserId, c.id) << c.label;
        EXPECT_EQ(read_text_property(kSignInStateLabel, kLabelCaption), c.caption) << c.label;
    }
    set_login_cookies(nullptr, nullptr);
}
