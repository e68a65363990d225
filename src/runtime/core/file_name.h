// A file name as Windows gives it: UTF-16, so that a folder such as 한글 or an emoji in a user
// name survives from the dialog or the drop to the call that opens the file. The program's own
// code page cannot hold those characters.
#pragma once
#include <cstddef>
#include <vector>

#include "runtime/core/bytes.h"

namespace brindor {

class FileName {
  public:
    FileName() = default;
    FileName(const char16_t* units, size_t length);

    // Always NUL-terminated.
    const char16_t* units() const;
    size_t length() const { return units_.empty() ? 0 : units_.size() / sizeof(char16_t) - 1; }
    bool empty() const { return length() == 0; }
    // The part after the last dot of the last path element, compared in any letter case;
    // `extension` is ASCII without the dot.
    bool has_extension(const char* extension) const;
    // Anywhere in the name, in any letter case; `ascii` is ASCII.
    bool contains(const char* ascii) const;

  private:
    Bytes units_; // the code units and a NUL unit
};

using FileNames = std::vector<FileName>;

} // namespace brindor
