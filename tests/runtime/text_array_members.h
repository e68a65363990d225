// A text array's elements as standard strings, for comparing with expected lists.
#pragma once
#include <string>
#include <vector>

#include "runtime/core/text_array.h"

inline std::vector<std::string> members(const brindor::TextArray& array) {
    std::vector<std::string> out;
    for (int i = 1; i <= array.count(); ++i)
        out.emplace_back(array.at(i));
    return out;
}
