// brindor.exe [--] ITEM...: what a start hands over, and how a second start hands it to the first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/core/bytes.h"
#include "runtime/core/file_name.h"
#include "runtime/core/text.h"

namespace brindor::app {

// The arguments after the program's name, split as the C runtime splits them (quotes, and
// backslashes before a quote). UTF-16 throughout: a path may hold any character.
FileNames CommandLineArguments(const char16_t* command_line);

// The ITEMs of the arguments: everything after "--", and before it whatever is no option
// ("-..."); unknown options are ignored.
FileNames CommandLineItems(const FileNames& arguments);

// The registered handler's command, "<program>" --url "%1": the shell puts a web page's link in as
// it stands, quotes and all, so everything after the marker is the one link.
constexpr char16_t kHandlerMarker[] = u"--url";
// True for a handler's command line; `link` is then what follows the marker with one pair of quotes
// around it removed, or empty unless it is a magnet link.
bool ReadHandlerLink(const char16_t* command_line, FileName& link);

// WM_COPYDATA from a second start: its tag in dwData, UTF-16 items each ended by a NUL unit.
constexpr uint32_t kForwardTag = 0x42524E31;
constexpr size_t kLargestForward = 1024 * 1024;
// What may wait to be read at once: a flood of forwards is refused beyond it.
constexpr size_t kLargestWaitingForwards = 4 * kLargestForward;

// The messages that carry `items`, each at most `largest` bytes and holding whole items; an item
// that alone exceeds it is left out. No items still make one message (one NUL unit): the first
// copy then only comes to the front.
std::vector<Bytes> ForwardMessages(const FileNames& items, size_t largest = kLargestForward);
// A message of `count` units ends with its NUL unit: it is not cut short.
bool IsWholeForward(const char16_t* units, size_t count);
// The items of a message of `count` units; none unless IsWholeForward. Empty items are skipped.
FileNames ForwardedItems(const char16_t* units, size_t count);

} // namespace brindor::app
