// read_line against whole-buffer splitting, for any bytes, any read sizes and a failing read.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../runtime/memory_line_source.h"
#include "runtime/core/line_reader.h"

using brindor::testing::expected_lines;
using brindor::testing::MemoryLineSource;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    int largest_read = 1 + data[0] % brindor::kLineBlockSize;
    int failing_read = data[1] < 16 ? 1 + data[1] : 0; // mostly no failure
    std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    MemoryLineSource source(bytes, largest_read);
    if (failing_read) source.fail_from_read(failing_read);
    std::vector<std::string> want = expected_lines(bytes);
    size_t calls = 0;
    while (!source.at_end()) {
        brindor::Text line = brindor::read_line(source);
        if (source.reads() >= failing_read && failing_read) {
            if (!line.empty() || !source.at_end()) abort(); // a failed read ends quietly at the end
            return 0;
        }
        if (calls >= want.size() || want[calls] != line.c_str()) abort();
        ++calls;
    }
    if (calls != want.size()) abort();
    if (!brindor::read_line(source).empty() || !source.at_end()) abort();
    return 0;
}
