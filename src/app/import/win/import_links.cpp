#include <utility>

#include "app/handlers.h"
#include "app/import/item_kind.h"
#include "app/import/pasted_links.h"
#include "app/import/win/link_intake.h"
#include "app/import/win/links_from_files.h"
#include "app/import/win/read_lines_to_list.h"
#include "app/program_ids.h"
#include "app/settings/win/program_settings.h"
#include "app/state.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/chosen_files.h"
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
    if (LinkList.block() != before || !before) ListOutcomes.Reset(element_count(LinkList));
    ShowLinkCount();
}

void ImportLinks() {
    // A click queued before the button was disabled.
    if (RefusedWhileRunning()) return;
    const IntakeHeld held; // a link dropped while the dialog shows joins the new list
    kFileDialog.SetInitialDirectory(ImportFolder().c_str());
    // A cancelled dialog is the user changing their mind: nothing to say, nothing to change.
    FileNames chosen;
    if (!kFileDialog.Open(chosen)) return;
    RememberImportFolder(chosen.front());
    if (chosen.size() == 1 && !chosen.front().has_extension("torrent")) {
        ImportLinkFile(chosen.front());
        return;
    }
    // Every chosen file's links replace the list; when none could be read the list stays.
    LinksAndFailures got = LinksFromFiles(chosen);
    if (!got.links.empty() || got.failures.empty()) ReplaceLinkList(std::move(got.links));
    ShowFileFailures(got.failures);
}

void ReplaceLinkList(TextArray links) {
    ListReplaced();
    LinkList = std::move(links);
    ListOutcomes.Reset(element_count(LinkList));
    ShowLinkCount();
}

void FilesDropped(const FileNames& files) {
    FileNames taken;
    bool refused = false;
    for (const FileName& file : files) {
        // A drop may bring any file: only the extension tells a text file ("links.txt.csv" is none).
        const ItemKind kind = KindOfItem(file, LookOnDisk);
        if (kind == ItemKind::kLinkFile || kind == ItemKind::kTorrentFile || kind == ItemKind::kFolder)
            taken.push_back(file);
        else
            refused = true;
    }
    LinksAndFailures got = LinksFromFiles(taken);
    AddLinks(got.links);
    ShowFileFailures(got.failures);
    if (refused) message_box("必须导入txt格式", 0, "提示");
}

void PasteLinks() {
    const Text text = clipboard_text(loaded_window_handle(kMainWindowId));
    if (text.empty()) return;
    AddLinks(LinksFromText(text));
}

} // namespace brindor::app
