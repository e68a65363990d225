#include "app/journal/win/kept_journals.h"

#include <string>
#include <utility>

#include "app/handlers.h"
#include "app/import/link_lines.h"
#include "app/journal/win/journal_folder.h"
#include "app/report/report_text.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/clock_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/local_files.h"
#include "submit/journal_rows.h"
#include "text/civil_days.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

int StemDay(const std::wstring& stem) {
    char narrow[16] = {};
    for (size_t i = 0; i < stem.size() && i + 1 < sizeof narrow; ++i)
        narrow[i] = stem[i] < 0x80 ? static_cast<char>(stem[i]) : '?';
    return brindor::StemDay(narrow);
}

void RemoveOldJournals(const std::wstring& folder, std::vector<std::wstring>& stems) {
    const LocalTime t = local_time();
    const int today = static_cast<int>(DaysFromCivil(t.year, t.month, t.day));
    std::vector<std::wstring> kept;
    for (size_t i = 0; i < stems.size(); ++i) {
        if (KeepJournal(static_cast<int>(kept.size()), StemDay(stems[i]), today)) {
            kept.push_back(std::move(stems[i]));
            continue;
        }
        delete_named_file(JournalPath(folder, stems[i]));
        delete_named_file(LinksPath(folder, stems[i]));
    }
    stems = std::move(kept);
}

TextArray RunLinks(const std::wstring& path) {
    const Bytes bytes = read_named_file(path);
    TextArray links;
    AppendLinkLines(links, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return links;
}

// The links of the run the journal does not record as made, in the run's order.
TextArray NotYetSucceeded(const TextArray& run_links, const JournalSummary& summary) {
    TextArray links;
    for (int i = 1; i <= run_links.count(); ++i) {
        const size_t row = static_cast<size_t>(i - 1);
        if (row >= summary.row_succeeded.size() || !summary.row_succeeded[row])
            links.append(Text(run_links.at(i)));
    }
    return links;
}

void MarkSeen(const std::wstring& path) {
    AppendingFile file;
    if (!file.open(path, false)) return;
    TextArray cells;
    cells.append(Text());
    cells.append(Text(kJournalSeenMark));
    const Text line = GbkTextToUtf8(CsvLine(cells));
    file.write(line.c_str(), line.length());
    file.flush();
}

void AskAboutUnfinishedRun(const std::wstring& folder, const std::wstring& stem) {
    const Text text = ReadJournalText(JournalPath(folder, stem));
    const JournalSummary summary = SummariseJournal(ReadCsvRows(text.c_str(), text.length()));
    if (summary.closed) return;
    const TextArray run_links = RunLinks(LinksPath(folder, stem));
    TextArray rest = NotYetSucceeded(run_links, summary);
    if (rest.empty()) return MarkSeen(JournalPath(folder, stem));
    const Text question =
        concat_text({"上次提交没有完成：已处理", to_text(summary.processed), "/", to_text(run_links.count()),
                     "条，成功", to_text(summary.succeeded), "条，失败", to_text(summary.failed),
                     "条。是否载入尚未成功的", to_text(rest.count()), "条链接？"});
    const bool load = message_box(question.c_str(), MB_YESNO, "提示") == kBoxYes;
    MarkSeen(JournalPath(folder, stem));
    if (load) ReplaceLinkList(std::move(rest));
}

} // namespace

void LookAtKeptJournals() {
    const std::wstring folder = JournalFolder();
    std::vector<std::wstring> stems = KeptJournalStems(folder);
    RemoveOldJournals(folder, stems);
    if (!stems.empty()) AskAboutUnfinishedRun(folder, stems.front());
}

InfoHashSet SucceededInKeptJournals() {
    InfoHashSet hashes;
    const std::wstring folder = JournalFolder();
    for (const std::wstring& stem : KeptJournalStems(folder)) {
        const Text text = ReadJournalText(JournalPath(folder, stem));
        const std::vector<TextArray> rows = ReadCsvRows(text.c_str(), text.length());
        InfoHash hash{};
        for (size_t i = 1; i < rows.size(); ++i)
            if (IsJournalRow(rows[i]) && RowSucceeded(rows[i]) && rows[i].count() >= kJournalLinkCell &&
                ReadInfoHash(rows[i].at(kJournalLinkCell), hash))
                hashes.insert(hash);
    }
    return hashes;
}

} // namespace brindor::app
