#include "submit/progress_text.h"

#include "runtime/core/conversions.h"
#include "runtime/core/numbers.h"
#include "runtime/core/text_ops.h"

namespace brindor {

Text FormatSize(TextRef tsize) {
    constexpr double kGiga = 1073741824.0;
    constexpr double kMega = 1048576.0;
    // A value only a hair above a unit stays in the unit below: exactly 1 GB reads 1024MB.
    constexpr double kMargin = 0.0000001;
    const double bytes = to_double(tsize);
    double value = bytes / 1024.0;
    const char* unit = "KB";
    if (bytes / kGiga - 1 > kMargin) {
        value = bytes / kGiga;
        unit = "GB";
    } else if (bytes / kMega - 1 > kMargin) {
        value = bytes / kMega;
        unit = "MB";
    }
    return concat_text(to_text(brindor::round(value, 2)), unit);
}

Text PercentText(int done, int total) {
    if (total <= 0) return Text();
    const double share = brindor::round(static_cast<double>(done) / total, 4);
    return concat_text(to_text(share * 100), "%");
}

} // namespace brindor
