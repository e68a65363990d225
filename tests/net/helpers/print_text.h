// Shows texts as their bytes in test failures instead of as an object dump.
#pragma once
#include <ostream>

#include "runtime/core/text.h"

namespace brindor {

inline void PrintTo(const Text& text, std::ostream* out) {
    *out << '"' << text.c_str() << '"';
}

} // namespace brindor
