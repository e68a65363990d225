#include "submit/record/unknown_names.h"

#include <algorithm>

#include "runtime/core/conversions.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

Text UnknownNames(const TextArray& links, const TextArray& titles) {
    TextBuilder names;
    const int shown = std::min(links.count(), kNamedUnknown);
    for (int i = 1; i <= shown; ++i) {
        const char* title = i <= titles.count() ? titles.at(i) : "";
        const Text line = concat_text(*title ? title : links.at(i), "\n");
        names.append(line.c_str(), line.length());
    }
    if (links.count() > shown) {
        const Text more = concat_text({"等", to_text(links.count()), "条\n"});
        names.append(more.c_str(), more.length());
    }
    return names.take();
}

Text AlsoUnknownQuestion(const TextArray& links, const TextArray& titles) {
    return concat_text({"另有", to_text(links.count()), "条链接的提交结果未知，任务可能已经建立：\n",
                        UnknownNames(links, titles), "是否也重新提交？"});
}

} // namespace brindor
