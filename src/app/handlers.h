// The handlers of the program's window events.
#pragma once
#include "runtime/core/file_name.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

void OpenSignInWindow();
void ImportLinks();
// Starts a run, or asks the running one to stop.
void StartSubmission();
// A start nobody clicked: never beside a run, no question asked; the questions' defaults choose
// the links, and only those this list has not sent yet.
void StartUnattendedSubmission();
// The running batch stops after its current link; a pause's box closes as by 取消.
void StopSubmission();
bool IsBatchRunning();
// The import button's checks, reading and count label, for a file named some other way.
void ImportLinkFile(const FileName& file_name);
// Replaces the link list as an import does, count label included.
void ReplaceLinkList(TextArray links);
void ReportListMenu(int x, int y);
void ReportListShortcut(char key);
void FilesDropped(const FileNames& files);
// Ctrl+V in the main window: the clipboard's links join the end of the link list, as dropped ones do.
void PasteLinks();
void NavigateSignInPage();
// Shows the login in 标签_登陆状态, or nothing there when there is none.
void ReadSignInCookies();
// The dialog 使用Cookie登录 and its two buttons.
void OpenCookieSignIn();
void ConfirmCookieSignIn();
void CancelCookieSignIn();

} // namespace brindor::app
