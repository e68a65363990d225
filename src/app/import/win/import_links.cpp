#include <utility>

#include "app/handlers.h"
#include "app/import/win/read_lines_to_list.h"
#include "app/state.h"
#include "app/windows/ids.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

namespace {

void ShowLinkCount() {
    write_property(kLinkCountLabel, kLabelCaption,
                   concat_text({"共", to_text(element_count(LinkList)), "条链接。"}).c_str());
}

} // namespace

void ImportLinkFile(TextRef file_name) {
    // The dialog's own filter offers "LINKS.TXT" too, so letter case must not refuse it.
    if (find_text(file_name, ".txt", 1, true) == -1) {
        message_box("必须导入txt格式", 0, "提示");
        return;
    }
    // A file that could not be read leaves the list, and with it the record, as they were.
    const ArrayHeader* before = LinkList.block();
    ReadLinesToList(file_name, LinkList);
    if (LinkList.block() != before || !before) LinkListRecord.Reset(element_count(LinkList));
    ShowLinkCount();
}

void ImportLinks() {
    // A click queued before the button was disabled: the running batch keeps its list.
    if (IsBatchRunning()) return;
    write_property(kFileDialog, kDialogInitialDirectory, run_directory().c_str());
    // A cancelled dialog is the user changing their mind: nothing to say, nothing to change.
    if (!dialog_open(kFileDialog)) return;
    ImportLinkFile(read_text_property(kFileDialog, kDialogFileName));
}

void ReplaceLinkList(TextArray links) {
    LinkList = std::move(links);
    LinkListRecord.Reset(element_count(LinkList));
    ShowLinkCount();
}

void FilesDropped(const TextArray& files) {
    if (IsBatchRunning()) return;
    if (files.count() != 1) {
        message_box("一次只能导入一个txt文件", 0, "提示");
        return;
    }
    ImportLinkFile(files.at(1));
}

} // namespace brindor::app
