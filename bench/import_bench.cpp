// Reads a file of links two ways and prints "seconds lines held_kb" (the private memory that
// holds the lines, above the start): the import's own reading (`import`) or a plain buffered line
// reader into standard strings (`plain`). One way per process, so that each figure is its own.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "app/import/win/read_lines_to_list.h"
#include "runtime/win/text_boundary.h"

namespace {

size_t plain_read(const wchar_t* path, std::vector<std::string>& lines) {
    HANDLE file =
        CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    std::vector<char> block(64 * 1024);
    std::string line;
    DWORD got = 0;
    while (ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got) {
        const char* p = block.data();
        const char* end = p + got;
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
            if (!lf) {
                line.append(p, end);
                break;
            }
            line.append(p, lf);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) lines.push_back(line);
            line.clear();
            p = lf + 1;
        }
    }
    if (!line.empty()) lines.push_back(line);
    CloseHandle(file);
    return lines.size();
}

PROCESS_MEMORY_COUNTERS memory_counters() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: import_bench import|plain FILE\n");
        return 2;
    }
    bool import = std::wcscmp(argv[1], L"import") == 0;
    brindor::TextArray list;
    std::vector<std::string> lines;
    const brindor::FileName path = brindor::file_name_of(argv[2], std::wcslen(argv[2]));
    size_t before = memory_counters().PagefileUsage;
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    size_t count = 0;
    if (import) {
        brindor::app::ReadLinesToList(path, list);
        count = static_cast<size_t>(list.count());
    } else {
        count = plain_read(argv[2], lines);
    }
    QueryPerformanceCounter(&stop);
    // Taken while the lines are still held: Wine updates the peak only when it is asked.
    size_t held = memory_counters().PagefileUsage;
    double seconds = double(stop.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    std::printf("%.4f %u %u\n", seconds, static_cast<unsigned>(count),
                static_cast<unsigned>((held - before) / 1024));
    return 0;
}
