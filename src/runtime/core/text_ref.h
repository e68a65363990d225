// A borrowed text argument: a C string or a Text, read in place. A null pointer counts as empty.
#pragma once
#include "runtime/core/text.h"

namespace brindor {

class TextRef {
  public:
    TextRef(const char* s) : s_(s ? s : "") {}
    TextRef(const Text& text) : s_(text.c_str()) {}

    const char* c_str() const { return s_; }
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(s_); }

  private:
    const char* s_;
};

} // namespace brindor
