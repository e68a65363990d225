#include "submit/record/record_trouble.h"

#include <sqlite3.h>

#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"

namespace brindor {

Text RecordTroubleCause(int error) {
    if (error == SQLITE_IOERR_LOCK || error == SQLITE_IOERR_SHMLOCK) return Text("文件被其他程序锁定");
    switch (error & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Text("文件被其他程序锁定");
    case SQLITE_CANTOPEN:
        return Text("无法打开文件，可能被其他程序占用");
    case SQLITE_FULL:
        return Text("磁盘已满");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Text("文件已损坏");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Text("文件只读");
    default:
        return concat_text("错误代码", to_text(error));
    }
}

bool RecordIsDamaged(int error) {
    return (error & 0xFF) == SQLITE_CORRUPT || (error & 0xFF) == SQLITE_NOTADB;
}

Text UnreadableRecordText(int error, TextRef file_name) {
    return concat_text({"无法读取提交记录（", RecordTroubleCause(error), "）：\n", file_name,
                        "\n", "没有提交任何链接。按“重试”再次读取；按“取消”不提交。"});
}

Text DamagedRecordText(TextRef file_name, TextRef aside_name) {
    return concat_text({"提交记录文件已损坏，无法读取：\n", file_name, "\n是否将它改名为", aside_name,
                        "保留，并新建提交记录？按“否”保留原样，不能提交。"});
}

} // namespace brindor
