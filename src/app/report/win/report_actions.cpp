// The report list's shortcut menu and keys: copying, exporting and submitting again what the
// report holds.
#include <iterator>
#include <utility>

#include "app/batch/link_list_actions.h"
#include "app/handlers.h"
#include "app/program_ids.h"
#include "app/record/win/record_file.h"
#include "app/report/report_text.h"
#include "app/settings/win/program_settings.h"
#include "app/state.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/clipboard_ops.h"
#include "runtime/win/clock_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/file_ops.h"
#include "runtime/win/menu_ops.h"
#include "runtime/win/window/control_access.h"
#include "submit/record/record_trouble.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

enum MenuCommand {
    kCopyLinks = 1,
    kCopyRows,
    kSelectAll,
    kExportReport,
    kExportFailedLinks,
    kRetryFailedLinks,
    kContinueUnfinished,
    kTidyLinkList,
    kExportHistory,
};

HWND MainWindow() {
    return loaded_window_handle(kMainWindowId);
}

// Read where the rows live: a copy of 100,000 rows would freeze the window for seconds.
void CopySelected(bool whole_rows) {
    TextBuilder out;
    if (whole_rows) AppendTabSeparatedLine(out, kReportList.ColumnTitles());
    bool any = false;
    kReportList.ForEachRow(true, [&](const TextArray& row) {
        any = true;
        whole_rows ? AppendTabSeparatedLine(out, row) : AppendLink(out, row);
        return true;
    });
    if (any) set_clipboard_text(MainWindow(), out.take().c_str());
}

// The save dialog, proposing the name with the date and time; empty when cancelled. The name stays
// UTF-16: a folder such as 한글 has no GBK spelling.
FileName AskSaveName(const char* stem, const char* extension, const char* filter) {
    const LocalTime t = local_time();
    FileDialogProperties dialog;
    dialog.file_name = StampedFileName(stem, extension, t.year, t.month, t.day, t.hour, t.minute, t.second);
    dialog.default_extension = extension;
    dialog.initial_directory = ExportFolder();
    dialog.filter = filter;
    dialog.must_exist = false;
    if (!dialog_save(dialog, MainWindow())) return {};
    RememberExportFolder(dialog.chosen);
    return dialog.chosen;
}

void SaveOrSay(const FileName& file_name, const char* bytes, size_t size) {
    if (!write_whole_file(file_name, bytes, size)) message_box("保存文件失败", 0, "提示");
}

void ExportReport() {
    if (kReportList.RowCount() == 0) return;
    const FileName file_name = AskSaveName("Brindor报告", "csv", "CSV文件|*.csv");
    if (file_name.empty()) return;
    TextBuilder out;
    AppendCsvLine(out, kReportList.ColumnTitles());
    kReportList.ForEachRow(false, [&](const TextArray& row) {
        AppendCsvLine(out, row);
        return true;
    });
    // With the mark, spreadsheet programs read the file as UTF-8 rather than the system's code page.
    const Text csv = concat_text("\xEF\xBB\xBF", GbkTextToUtf8(out.take()));
    SaveOrSay(file_name, csv.c_str(), csv.length());
}

// Every run the record holds, written as it is read: the history may be far longer than the list.
void ExportHistory() {
    if (IsBatchRunning()) return;
    const FileName file_name = AskSaveName("Brindor提交记录", "csv", "CSV文件|*.csv");
    if (file_name.empty()) return;
    TextBuilder out;
    AppendCsvLine(out, HistoryColumnTitles(kReportList.ColumnTitles()));
    // Part of the history would pass for all of it.
    if (!ProgramRecord().ForEachLink(
            [&](const RecordedLink& link) { AppendCsvLine(out, HistoryCells(link)); })) {
        const Text told = concat_text({"无法读取提交记录（", RecordTroubleCause(ProgramRecord().error()),
                                       "）：\n", RecordFileName(), "\n", "提交记录没有保存。"});
        message_box(told.c_str(), 0, "提示");
        return;
    }
    const Text csv = concat_text("\xEF\xBB\xBF", GbkTextToUtf8(out.take()));
    SaveOrSay(file_name, csv.c_str(), csv.length());
}

void ExportFailedLinks() {
    const TextArray links = RecordedFailedLinks();
    if (links.empty()) return;
    const FileName file_name = AskSaveName("失败的链接", "txt", "txt文件|*.txt");
    if (file_name.empty()) return;
    // In the program's own encoding, so that importing the file gives exactly these links.
    const Text text = JoinLines(links);
    SaveOrSay(file_name, text.c_str(), text.length());
}

} // namespace

void ReportListMenu(int x, int y) {
    // Counts and a scan in place: the menu opens as fast at 100,000 rows as at ten.
    const bool rows = kReportList.RowCount() > 0;
    const bool selected = kReportList.SelectedCount() > 0;
    const bool failed = AnyRecordedFailure();
    const MenuItem items[] = {
        {"复制链接\tCtrl+C", kCopyLinks, selected},
        {"复制所选行", kCopyRows, selected},
        {"全选\tCtrl+A", kSelectAll, rows},
        {nullptr, 0},
        {"导出报告…", kExportReport, rows},
        {"导出失败的链接…", kExportFailedLinks, failed},
        // The record's one connection must not read in a transaction of its own while the run writes.
        {"导出提交记录…", kExportHistory, !IsBatchRunning()},
        {nullptr, 0},
        {"重新提交失败的链接", kRetryFailedLinks, CanRetryFailed()},
        {"继续未完成的链接", kContinueUnfinished, CanContinueUnfinished()},
        {"整理链接列表", kTidyLinkList, !IsBatchRunning() && element_count(LinkList) > 0},
    };
    switch (show_popup_menu(MainWindow(), items, static_cast<int>(std::size(items)), x, y)) {
    case kCopyLinks:
        return CopySelected(false);
    case kCopyRows:
        return CopySelected(true);
    case kSelectAll:
        return kReportList.SelectAll();
    case kExportReport:
        return ExportReport();
    case kExportFailedLinks:
        return ExportFailedLinks();
    case kExportHistory:
        return ExportHistory();
    case kRetryFailedLinks:
        return RetryFailedLinks();
    case kContinueUnfinished:
        return ContinueUnfinishedLinks();
    case kTidyLinkList:
        return TidyLinkList();
    default:
        return;
    }
}

void ReportListShortcut(char key) {
    switch (key) {
    case 'A':
        return kReportList.SelectAll();
    case 'C':
        return CopySelected(false);
    case 'V':
        return PasteLinks();
    default:
        return;
    }
}

} // namespace brindor::app
