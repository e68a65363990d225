#include "app/import/win/read_lines_to_list.h"

#include <utility>

#include "app/import/link_lines.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/file_ops.h"

namespace brindor::app {

void ReadLinesToList(TextRef file_name, TextArray& list) {
    int file = open_file(file_name.c_str(), kFileRead, kShareExclusive);
    if (file == 0) {
        message_box("打开文件失败，可能原因是文件不存在", 0, "提示");
        return;
    }
    TextArray lines;
    if (seek_begin(file)) {
        do {
            AppendLinkLine(lines, read_line(file));
        } while (!at_end_of_file(file));
    }
    close_file(file);
    list = std::move(lines);
}

} // namespace brindor::app
