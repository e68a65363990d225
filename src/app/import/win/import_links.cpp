#include <utility>

#include "app/settings/win/program_settings.h"
#include "app/handlers.h"
#include "app/import/pasted_links.h"
#include "app/import/win/read_lines_to_list.h"
#include "app/state.h"
#include "app/windows/ids.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/clipboard_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

namespace {

void ShowLinkCount() {
    write_property(kLinkCountLabel, kLabelCaption,
                   concat_text({"共", to_text(element_count(LinkList)), "条链接。"}).c_str());
}

// The running batch keeps its list; the user learns why nothing changed.
bool RefusedWhileRunning() {
    if (!IsBatchRunning()) return false;
    message_box("正在提交，请在完成后再导入", 0, "提示");
    return true;
}

} // namespace

void ImportLinkFile(const FileName& file_name) {
    // The dialog's own filter offers "LINKS.TXT" too, so letter case must not refuse it.
    if (!file_name.contains(".txt")) {
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
    // A click queued before the button was disabled.
    if (RefusedWhileRunning()) return;
    write_property(kFileDialog, kDialogInitialDirectory, ImportFolder().c_str());
    // A cancelled dialog is the user changing their mind: nothing to say, nothing to change.
    FileName chosen;
    if (!dialog_open(kFileDialog, &chosen)) return;
    RememberImportFolder(chosen);
    ImportLinkFile(chosen);
}

void ReplaceLinkList(TextArray links) {
    LinkList = std::move(links);
    LinkListRecord.Reset(element_count(LinkList));
    ShowLinkCount();
}

void FilesDropped(const FileNames& files) {
    if (RefusedWhileRunning()) return;
    if (files.size() != 1) {
        message_box("一次只能导入一个txt文件", 0, "提示");
        return;
    }
    // A drop may bring any file: only the extension tells a text file ("links.txt.csv" is none).
    if (!files.front().has_extension("txt")) {
        message_box("必须导入txt格式", 0, "提示");
        return;
    }
    ImportLinkFile(files.front());
}

void PasteLinks() {
    if (RefusedWhileRunning()) return;
    const Text text = clipboard_text(loaded_window_handle(kMainWindowId));
    if (text.empty()) return;
    ReplaceLinkList(LinksFromText(text));
}

} // namespace brindor::app
