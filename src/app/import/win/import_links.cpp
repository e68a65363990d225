#include <utility>

#include "app/handlers.h"
#include "app/import/pasted_links.h"
#include "app/import/win/link_intake.h"
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
    write_property(kFileDialog, kDialogInitialDirectory, run_directory().c_str());
    // A cancelled dialog is the user changing their mind: nothing to say, nothing to change.
    FileName chosen;
    if (!dialog_open(kFileDialog, &chosen)) return;
    ImportLinkFile(chosen);
}

void ReplaceLinkList(TextArray links) {
    LinkList = std::move(links);
    LinkListRecord.Reset(element_count(LinkList));
    ShowLinkCount();
}

void FilesDropped(const FileNames& files) {
    TextArray links;
    bool refused = false;
    for (const FileName& file : files) {
        // A drop may bring any file: only the extension tells a text file ("links.txt.csv" is none).
        if (!file.has_extension("txt")) {
            refused = true;
            continue;
        }
        const TextArray read = LinksOfFile(file);
        for (int i = 1; i <= read.count(); ++i)
            links.append(Text(read.at(i)));
    }
    AddLinks(links);
    if (refused) message_box("必须导入txt格式", 0, "提示");
}

void PasteLinks() {
    const Text text = clipboard_text(loaded_window_handle(kMainWindowId));
    if (text.empty()) return;
    AddLinks(LinksFromText(text));
}

} // namespace brindor::app
