// count sequential GETs of one URL through HttpRequest; prints the count, the seconds taken and
// the bytes of the last answer.
// <chrono> does not build with the GBK execution charset; the performance counter times it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "net/win/http_request.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    int count = std::atoi(argv[2]);
    size_t last = 0;
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i)
        last = brindor::HttpRequest(argv[1]).length();
    QueryPerformanceCounter(&stop);
    double seconds = static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart;
    std::printf("%d %.6f %zu\n", count, seconds, last);
    return 0;
}
