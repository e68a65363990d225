#include "app/handlers.h"
#include "app/import/win/read_lines_to_list.h"
#include "app/state.h"
#include "app/windows/ids.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

void ImportLinks() {
    write_property(kFileDialog, kDialogInitialDirectory, run_directory().c_str());
    // A cancelled dialog is the user changing their mind: nothing to say, nothing to change.
    if (!dialog_open(kFileDialog)) return;
    Text file_name = read_text_property(kFileDialog, kDialogFileName);
    // The dialog's own filter offers "LINKS.TXT" too, so letter case must not refuse it.
    if (find_text(file_name, ".txt", 1, true) == -1) {
        message_box("必须导入txt格式", 0, "提示");
        return;
    }
    ReadLinesToList(file_name, LinkList);
    write_property(kLinkCountLabel, kLabelCaption,
                   concat_text({"共", to_text(element_count(LinkList)), "条链接。"}).c_str());
}

} // namespace brindor::app
