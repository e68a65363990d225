// The size column on arbitrary size texts from the service: a number and one of the three units,
// never more than two decimals, and the unit the byte count calls for.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "runtime/core/conversions.h"
#include "submit/progress_text.h"

using namespace brindor;

namespace {

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string tsize;
    for (size_t i = 0; i < size && i < 64; ++i)
        tsize += static_cast<char>(data[i] ? data[i] : '0');
    std::string text = FormatSize(tsize.c_str()).c_str();
    Check(text.size() > 2);
    std::string unit = text.substr(text.size() - 2);
    Check(unit == "GB" || unit == "MB" || unit == "KB");
    std::string number = text.substr(0, text.size() - 2);
    size_t dot = number.find('.');
    bool scientific = number.find_first_of("eE") != std::string::npos;
    if (dot != std::string::npos && !scientific) Check(number.size() - dot - 1 <= 2);
    double bytes = to_double(tsize.c_str());
    if (std::isfinite(bytes) && bytes >= 0 && bytes < 1e15) {
        const char* expected = bytes / 1073741824.0 - 1 > 0.0000001 ? "GB"
                               : bytes / 1048576.0 - 1 > 0.0000001  ? "MB"
                                                                    : "KB";
        Check(unit == expected);
    }
    return 0;
}
