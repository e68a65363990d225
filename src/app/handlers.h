// The handlers of the program's window events.
#pragma once

namespace brindor::app {

void OpenSignInWindow();
void ImportLinks();
void StartSubmission();
void NavigateSignInPage();
void ReadSignInCookies();

} // namespace brindor::app
