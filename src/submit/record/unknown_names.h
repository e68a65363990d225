// The links of unknown outcome as a question names them: the user checks these by hand.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_array.h"

namespace brindor {

constexpr int kNamedUnknown = 5;

// One line per name, the title when one is known, else the link; at most five, then "等N条".
// `titles` may be shorter than `links`.
Text UnknownNames(const TextArray& links, const TextArray& titles);

// "另有N条链接的提交结果未知，任务可能已经建立：" with their names, then whether to send them again.
Text AlsoUnknownQuestion(const TextArray& links, const TextArray& titles);

} // namespace brindor
