#include "app/start/win/start_items.h"

#include <cstdint>
#include <string>

#include "app/import/item_kind.h"
#include "app/start/command_line.h"
#include "declared/declared_functions.h"

namespace brindor::app {

namespace {

FileName FullPath(const FileName& item) {
    wchar_t** no_file_part = nullptr;
    const uint32_t needed = call_declared<uint32_t>(kGetFullPathNameW, item.units(), 0u,
                                                    static_cast<char16_t*>(nullptr), no_file_part);
    if (needed == 0) return item;
    std::u16string path(needed, u'\0');
    const uint32_t length =
        call_declared<uint32_t>(kGetFullPathNameW, item.units(), needed, path.data(), no_file_part);
    return length > 0 && length < needed ? FileName(path.data(), length) : item;
}

} // namespace

FileNames StartItems() {
    const char16_t* command_line = call_declared<const char16_t*>(kGetCommandLineW);
    FileName link;
    if (ReadHandlerLink(command_line, link)) return link.empty() ? FileNames() : FileNames{link};
    FileNames items = CommandLineItems(CommandLineArguments(command_line));
    for (FileName& item : items)
        if (KindOfItem(item, nullptr) == ItemKind::kNothing) item = FullPath(item);
    return items;
}

} // namespace brindor::app
