#include "app/journal/win/journal_import.h"

#include <algorithm>
#include <string>

#include "app/import/link_lines.h"
#include "app/journal/win/journal_folder.h"
#include "runtime/win/local_files.h"
#include "submit/record/journal_rows.h"

namespace brindor::app {

namespace {

TextArray RunLinks(const std::wstring& path) {
    const Bytes bytes = read_named_file(path);
    TextArray links;
    AppendLinkLines(links, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return links;
}

std::string Narrow(const std::wstring& stem) {
    std::string narrow;
    for (wchar_t c : stem)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

// "yyyyMMdd-HHmmss" as "yyyy-MM-dd HH:mm:ss"; the stem itself when it is no time.
Text StartedText(const std::string& narrow) {
    if (StemDay(narrow.c_str()) < 0 || narrow.size() < 15) return Text(narrow.c_str());
    const std::string time = narrow.substr(0, 4) + "-" + narrow.substr(4, 2) + "-" + narrow.substr(6, 2) +
                             " " + narrow.substr(9, 2) + ":" + narrow.substr(11, 2) + ":" +
                             narrow.substr(13, 2);
    return Text(time.c_str());
}

} // namespace

int ImportJournals(RecordStore& store) {
    const std::wstring folder = JournalFolder();
    std::vector<std::wstring> stems = KeptJournalStems(folder);
    if (stems.empty() || !store.is_open()) return 0;
    const std::wstring imported = local_data_folder(L"Brindor\\runs\\imported");
    if (imported.empty()) return 0;
    std::wstring unreadable;
    int set_aside = 0;
    std::reverse(stems.begin(), stems.end());
    for (const std::wstring& stem : stems) {
        const Text text = ReadJournalText(JournalPath(folder, stem));
        PastRun run;
        const bool read = PastRunOfJournal(ReadCsvRows(text.c_str(), text.length()),
                                           RunLinks(LinksPath(folder, stem)), run);
        run.started = StartedText(Narrow(stem));
        run.day = std::max(StemDay(Narrow(stem).c_str()), 0);
        // One that cannot be read or matched goes aside, and the others come in.
        std::wstring to = imported;
        if (!read) {
            if (unreadable.empty()) unreadable = local_data_folder(L"Brindor\\runs\\unreadable");
            if (unreadable.empty()) continue;
            to = unreadable;
            ++set_aside;
        } else if (!store.ImportRun(run)) {
            // Not recorded, it stays to be tried at the next start.
            continue;
        }
        // Recorded, it must not come in a second time, even when it cannot be moved.
        if (!move_named_file(JournalPath(folder, stem), JournalPath(to, stem)) && read)
            delete_named_file(JournalPath(folder, stem));
        move_named_file(LinksPath(folder, stem), LinksPath(to, stem));
    }
    return set_aside;
}

} // namespace brindor::app
