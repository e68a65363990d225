#include "app/journal/win/journal_folder.h"

#include <algorithm>

#include "runtime/win/local_files.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

constexpr wchar_t kJournalExtension[] = L".csv";

} // namespace

std::wstring JournalFolder() {
    const std::wstring folder = local_data_folder(L"Brindor");
    return folder.empty() ? folder : folder + L"\\runs";
}

std::vector<std::wstring> KeptJournalStems(const std::wstring& folder) {
    std::vector<std::wstring> stems;
    if (folder.empty()) return stems;
    for (std::wstring& name : files_in_folder(folder, L"*.csv")) {
        // "*.csv" also finds longer extensions on systems that match short names.
        const size_t extension = name.size() - std::size(kJournalExtension) + 1;
        if (name.size() < std::size(kJournalExtension) ||
            name.compare(extension, std::wstring::npos, kJournalExtension))
            continue;
        name.resize(extension);
        stems.push_back(std::move(name));
    }
    // Stems are times, "-2" added for a second run in the same second: their order is the runs'.
    std::sort(stems.begin(), stems.end(), std::greater<>());
    return stems;
}

std::wstring JournalPath(const std::wstring& folder, const std::wstring& stem) {
    return folder + L"\\" + stem + kJournalExtension;
}

std::wstring LinksPath(const std::wstring& folder, const std::wstring& stem) {
    return folder + L"\\" + stem + L".links.txt";
}

Text ReadJournalText(const std::wstring& path) {
    Bytes bytes = read_named_file(path);
    if (bytes.size() >= 3 && std::equal(bytes.data(), bytes.data() + 3, "\xEF\xBB\xBF"))
        bytes = Bytes(bytes.data() + 3, bytes.size() - 3);
    if (bytes.empty()) return {};
    const Bytes text = Utf8BytesToGbk(bytes);
    return Text(reinterpret_cast<const char*>(text.data()), text.size());
}

} // namespace brindor::app
