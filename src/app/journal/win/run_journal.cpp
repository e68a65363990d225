#include "app/journal/win/run_journal.h"

#include <string>

#include "app/journal/win/journal_folder.h"
#include "app/report/report_text.h"
#include "declared/declared_functions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/clock_ops.h"
#include "runtime/win/file_ops.h"
#include "submit/journal_rows.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

constexpr uint32_t kFlushEveryMs = 1000;
constexpr int kSameSecondRuns = 9;

// Set only by the benchmark that weighs the journal against a run without one.
bool JournalLeftOut() {
    char value[4] = {};
    return call_declared(kGetEnvironmentVariableA, "BRINDOR_BENCH_NO_JOURNAL", value,
                         static_cast<uint32_t>(sizeof value)) > 0;
}

std::wstring WideStem(const Text& stem, int run) {
    std::wstring wide(stem.c_str(), stem.c_str() + stem.length());
    if (run > 1) wide += L"-" + std::to_wstring(run);
    return wide;
}

Text NowText() {
    const LocalTime t = local_time();
    return RowTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

TextArray Cells(std::initializer_list<TextRef> cells) {
    TextArray array;
    for (TextRef cell : cells)
        array.append(Text(cell.c_str()));
    return array;
}

} // namespace

void RunJournal::Open(const TextArray& run_links) {
    if (JournalLeftOut()) return;
    failed_ = true;
    const std::wstring folder = JournalFolder();
    if (folder.empty()) return;
    const LocalTime t = local_time();
    const Text stem = JournalStem(t.year, t.month, t.day, t.hour, t.minute, t.second);
    std::wstring wide_stem;
    for (int run = 1; run <= kSameSecondRuns && !file_.is_open(); ++run) {
        wide_stem = WideStem(stem, run);
        file_.open(JournalPath(folder, wide_stem), true);
    }
    if (!file_.is_open()) return;
    // In the program's own encoding, as an export of links, so that the links read back are these.
    const Text links = JoinLines(run_links);
    failed_ = !write_whole_file(LinksPath(folder, wide_stem).c_str(), links.c_str(), links.length());
    // The mark makes spreadsheet programs read the file as UTF-8.
    if (!file_.write("\xEF\xBB\xBF", 3)) failed_ = true;
    WriteLine(Cells({"编号", "标题", "大小", "磁力链接", "提交状态", "原因", "时间"}));
    file_.flush();
    last_flush_ = call_declared(kGetTickCount);
}

void RunJournal::WriteRow(const TextRef (&cells)[6]) {
    if (!file_.is_open()) return;
    WriteLine(Cells({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], NowText()}));
    const uint32_t now = call_declared(kGetTickCount);
    if (now - last_flush_ >= kFlushEveryMs) {
        file_.flush();
        last_flush_ = now;
    }
}

void RunJournal::Close(TextRef how) {
    if (!file_.is_open()) return;
    WriteLine(Cells({"", how, "", "", "", "", NowText()}));
    if (!file_.flush()) failed_ = true;
    file_.close();
}

void RunJournal::WriteLine(const TextArray& cells) {
    const Text line = GbkTextToUtf8(CsvLine(cells));
    if (!file_.write(line.c_str(), line.length())) failed_ = true;
}

} // namespace brindor::app
