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

// An ITEM that begins "magnet:?" in any letter case.
bool IsMagnetItem(const FileName& item);
// The magnet link a bare info-hash ITEM stands for; empty for anything else.
Text BareHashItemMagnet(const FileName& item);

// WM_COPYDATA from a second start: its tag in dwData, UTF-16 items each ended by a NUL unit.
constexpr uint32_t kForwardTag = 0x42524E31;
constexpr size_t kLargestForward = 1024 * 1024;

// The messages that carry `items`, each at most `largest` bytes and holding whole items; an item
// that alone exceeds it is left out. No items still make one message (one NUL unit): the first
// copy then only comes to the front.
std::vector<Bytes> ForwardMessages(const FileNames& items, size_t largest = kLargestForward);
// A message of `count` units ends with its NUL unit: it is not cut short.
bool IsWholeForward(const char16_t* units, size_t count);
// The items of a message of `count` units; none unless IsWholeForward. Empty items are skipped.
FileNames ForwardedItems(const char16_t* units, size_t count);

} // namespace brindor::app
