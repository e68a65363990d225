// The process heap and the read-only sections of the loaded program image.
#include <windows.h>

#include "runtime/core/memory.h"

namespace brindor::platform {

void* heap_allocate(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}
void* heap_reallocate(void* block, size_t size) {
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}
void heap_free(void* block) {
    HeapFree(GetProcessHeap(), 0, block);
}

const uint8_t* constant_region_end(const void* p) {
    static const auto* image = reinterpret_cast<const uint8_t*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    auto address = static_cast<const uint8_t*>(p);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (section->Characteristics & IMAGE_SCN_MEM_WRITE) continue;
        const uint8_t* begin = image + section->VirtualAddress;
        const uint8_t* end = begin + section->Misc.VirtualSize;
        if (address >= begin && address < end) return end;
    }
    return nullptr;
}

} // namespace brindor::platform
