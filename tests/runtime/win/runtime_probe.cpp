// A program that raises one runtime fault on request, for the end-to-end driver to observe.
// Usage: runtime_probe MODE; BRINDOR_PROBE_LOG names a file the end routine appends to.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/core/runtime_error.h"
#include "runtime/win/dll_command.h"
#include "runtime/win/program.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_definition.h"

using namespace brindor;

namespace {

enum Entry { kMissingExport, kTickCountWithOneArgument, kMissingWithoutLibrary };
const DllCommand kTable[] = {
    {"kernel32.dll", "NoSuchExportAnywhere"},
    {"kernel32.dll", "GetTickCount"},
    {nullptr, "NoSuchExportAnywhere"},
};

void log_line(const char* line) {
    const char* path = std::getenv("BRINDOR_PROBE_LOG");
    if (!path) return;
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s\n", line);
        std::fclose(f);
    }
}

void end_routine() {
    log_line("end routine");
}

constexpr uint32_t kProbeWindow = 0x7E000010;
const WindowDefinition kProbeWindowDefinition{
    .window_id = kProbeWindow, .control_id = 0x06000010, .caption = "probe", .width = 200, .height = 100};

DWORD WINAPI subscript_on_worker(void*) {
    check_subscript(5, 1);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    initialize_runtime();
    register_end_routine(end_routine);
    register_dll_commands(kTable, sizeof kTable / sizeof kTable[0]);
    const char* mode = argc > 1 ? argv[1] : "";
    log_line("started");
    if (!std::strcmp(mode, "subscript")) check_subscript(0, 3);
    if (!std::strcmp(mode, "worker-subscript")) {
        HANDLE thread = CreateThread(nullptr, 0, subscript_on_worker, nullptr, 0, nullptr);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    if (!std::strcmp(mode, "missing-export")) call_dll_command(kMissingExport);
    if (!std::strcmp(mode, "missing-without-library")) call_dll_command(kMissingWithoutLibrary);
    if (!std::strcmp(mode, "wrong-arguments")) call_dll_command(kTickCountWithOneArgument, 1);
    if (!std::strcmp(mode, "start-window")) load_start_window(0x7E0000FF);
    if (!std::strcmp(mode, "unloaded-window")) {
        register_window_definition(kProbeWindowDefinition);
        load_start_window(kProbeWindow);
        write_property(ControlRef{0x7E0000FF, 0x16000001}, 8, "x");
    }
    if (!std::strcmp(mode, "empty-window")) {
        register_window_definition(kProbeWindowDefinition);
        load_start_window(kProbeWindow);
        run_message_loop();
    }
    if (!std::strcmp(mode, "after-last-window")) {
        // A worker writing to the main window after it closed: the program is ending, no error.
        register_window_definition(kProbeWindowDefinition);
        load_start_window(kProbeWindow);
        DestroyWindow(loaded_window_handle(kProbeWindow));
        write_property(ControlRef{kProbeWindow, 0x16000001}, 8, "x");
        insert_row(ControlRef{kProbeWindow, 0x16000002});
    }
    if (!std::strcmp(mode, "divide")) report_runtime_error_text("不能整除于零");
    log_line("finished");
    end_program(0);
}
