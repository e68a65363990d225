// Reading the user's file of magnet links.
#pragma once
#include "runtime/core/text_array.h"
#include "runtime/core/file_name.h"

namespace brindor::app {

// Replaces `list` with the file's links (AppendLinkLine). A file that starts with a UTF-8 or UTF-16
// byte order mark is read as that text in the program's code page; any other as its bytes. A file that cannot
// be opened (the file is opened exclusively) is reported in a message box and leaves `list` alone. The new
// list is complete before it replaces the old one, so a reader never sees a half list.
void ReadLinesToList(const FileName& file_name, TextArray& list);

inline constexpr char kCannotOpenLinkFile[] = "打开文件失败，可能原因是文件不存在";
// The same without a word to the user: false when the file cannot be opened.
bool ReadLinkFile(const FileName& file_name, TextArray& list);

} // namespace brindor::app
