#include "app/watch/numbered_name.h"

namespace brindor::app {

std::u16string NumberedName(std::u16string_view name, int number) {
    if (number <= 1) return std::u16string(name);
    // A leading dot starts a name, not an extension (".torrent" alone has none).
    const size_t dot = name.find_last_of(u'.');
    const size_t stem_end = dot == std::u16string_view::npos || dot == 0 ? name.size() : dot;
    std::u16string numbered(name.substr(0, stem_end));
    numbered += u" (";
    for (char c : std::to_string(number))
        numbered += static_cast<char16_t>(c);
    numbered += u')';
    numbered += name.substr(stem_end);
    return numbered;
}

} // namespace brindor::app
