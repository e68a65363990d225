#include "runtime/win/dll_command.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/core/memory.h"
#include "runtime/core/runtime_error.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

struct ResolvedEntry {
    void* address;
    HMODULE module;
};

const DllCommand* g_table = nullptr;
int g_count = 0;
ResolvedEntry* g_resolved = nullptr; // one per entry; written without a lock (same value from any thread)

const char* const kDefaultLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                         "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

HMODULE load_library(const char* name) {
    std::wstring wide = to_wide(name);
    if (std::strchr(name, ':')) return LoadLibraryW(wide.c_str());
    // The program's own directory comes before the system's search.
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        std::wstring own(path, n);
        own.erase(own.find_last_of(L"\\/") + 1);
        own += wide;
        if (GetFileAttributesW(own.c_str()) != INVALID_FILE_ATTRIBUTES)
            if (HMODULE module = LoadLibraryW(own.c_str())) return module;
    }
    return LoadLibraryW(wide.c_str());
}

FARPROC find_export(HMODULE module, const char* name) {
    if (name[0] == '#') return GetProcAddress(module, MAKEINTRESOURCEA(std::atoi(name + 1)));
    return GetProcAddress(module, name);
}

[[noreturn]] void not_found(const DllCommand& command) {
    char message[600];
    if (command.library && *command.library)
        std::snprintf(message, sizeof message, "无法找到指定DLL库文件“%s”中的输出命令“%s”", command.library,
                      command.name);
    else
        std::snprintf(message, sizeof message, "无法找到指定DLL库文件中的输出命令“%s”", command.name);
    report_runtime_error_text(message);
}

} // namespace

void register_dll_commands(const DllCommand* table, int count) {
    g_table = table;
    g_count = count;
    g_resolved = static_cast<ResolvedEntry*>(allocate(sizeof(ResolvedEntry) * (count ? count : 1)));
    for (int i = 0; i < count; ++i)
        g_resolved[i] = {nullptr, nullptr};
}

void* resolve_dll_command(int entry) {
    if (entry < 0 || entry >= g_count) report_runtime_error(kSubscriptAboveRange);
    if (void* cached = g_resolved[entry].address) return cached;
    const DllCommand& command = g_table[entry];
    HMODULE module = nullptr;
    FARPROC address = nullptr;
    if (command.library && *command.library) {
        module = load_library(command.library);
        if (module) address = find_export(module, command.name);
    } else {
        for (const char* library : kDefaultLibraries) {
            module = load_library(library);
            if (module && (address = find_export(module, command.name))) break;
            if (module) FreeLibrary(module);
            module = nullptr;
        }
    }
    if (!address) {
        if (module) FreeLibrary(module);
        not_found(command);
    }
    g_resolved[entry] = {reinterpret_cast<void*>(address), module};
    return g_resolved[entry].address;
}

void release_dll_command_modules() {
    for (int i = 0; i < g_count; ++i)
        if (g_resolved[i].module) {
            FreeLibrary(g_resolved[i].module);
            g_resolved[i] = {nullptr, nullptr};
        }
}

void check_stack_after_dll_call(int32_t stack_difference) {
    if (stack_difference != 0) report_runtime_error(kStackMismatchAfterDllCall);
}

} // namespace brindor
