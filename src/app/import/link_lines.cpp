#include "app/import/link_lines.h"

#include <utility>

namespace brindor::app {

void AppendLinkLine(TextArray& list, Text line) {
    if (!line.empty()) list.append(std::move(line));
}

} // namespace brindor::app
