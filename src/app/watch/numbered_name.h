// Names for a file moved into a folder that may already hold one of its name.
#pragma once
#include <string>
#include <string_view>

namespace brindor::app {

// `name` itself for number 1; else the number in brackets before the extension:
// "a.torrent", 2 → "a (2).torrent".
std::u16string NumberedName(std::u16string_view name, int number);

} // namespace brindor::app
