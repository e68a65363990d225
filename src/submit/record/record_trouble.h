// What the user is told when the record cannot be read or written, from SQLite's extended code.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The cause in a few words: locked by another program, disk full, damaged, read-only, or the code.
Text RecordTroubleCause(int error);
// A file that is no database, or one whose pages are damaged: only a new record helps.
bool RecordIsDamaged(int error);

// The 提示 box's text when the record cannot be read at 开始提交 (buttons 重试 and 取消).
Text UnreadableRecordText(int error, TextRef file_name);
// The text of the box that offers to set a damaged record aside (buttons 是 and 否).
Text DamagedRecordText(TextRef file_name, TextRef aside_name);

constexpr const char* kNewerRecordText =
    "提交记录来自较新版本的Brindor，本版本只能读取它，不能写入，因此不能提交。请使用较新版本的Brindor。";

} // namespace brindor
