// The native build's platform layer: the C heap, the executable's read-only segments, and a
// runtime-error report on standard error.
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/core/runtime_error.h"

namespace brindor::platform {

namespace {

struct Region {
    uintptr_t begin, end;
};

int collect_main_program(dl_phdr_info* info, size_t, void* data) {
    auto* regions = static_cast<std::vector<Region>*>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        bool read_only_load = ph.p_type == PT_LOAD && !(ph.p_flags & PF_W);
        // RELRO data (constant tables of pointers) is read-only once the program runs.
        if (read_only_load || ph.p_type == PT_GNU_RELRO) {
            uintptr_t begin = info->dlpi_addr + ph.p_vaddr;
            regions->push_back({begin, begin + ph.p_memsz});
        }
    }
    return 1; // the first object is the program itself
}

const std::vector<Region>& constant_regions() {
    static std::vector<Region> regions;
    static std::once_flag once;
    std::call_once(once, [] { dl_iterate_phdr(collect_main_program, &regions); });
    return regions;
}

} // namespace

void* heap_allocate(size_t size) {
    return std::malloc(size);
}
void* heap_reallocate(void* block, size_t size) {
    return std::realloc(block, size);
}
void heap_free(void* block) {
    std::free(block);
}

const uint8_t* constant_region_end(const void* p) {
    auto address = reinterpret_cast<uintptr_t>(p);
    for (const Region& r : constant_regions())
        if (address >= r.begin && address < r.end) return reinterpret_cast<const uint8_t*>(r.end);
    return nullptr;
}

void show_runtime_error_and_end(const char* report) {
    std::fputs(report, stderr);
    std::fflush(stderr);
    std::_Exit(-1);
}

} // namespace brindor::platform
