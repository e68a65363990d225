#include "runtime/win/program.h"

#include <atomic>
#include <vector>

#include "runtime/win/dll_command.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

constexpr UINT kEndRequest = WM_APP + 0x4E0; // wParam: exit code

struct IdleEntry {
    HWND window;
    IdleCallback callback;
    void* argument;
};

DWORD g_main_thread = 0;
HWND g_hidden = nullptr;
EndRoutine g_end_routine = nullptr;
std::atomic<bool> g_ending{false};
std::vector<IdleEntry> g_idle;
std::vector<HWND> g_windows;
std::vector<void (*)()> g_shutdown_hooks;
std::vector<bool (*)(MSG*)> g_pretranslate_hooks;

LRESULT CALLBACK hidden_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kEndRequest) end_program(static_cast<int>(wparam));
    if (message == kRunOnWindowThread) {
        run_window_work(lparam);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void run_idle_callbacks() {
    for (size_t i = 0; i < g_idle.size();) {
        if (!IsWindow(g_idle[i].window)) {
            g_idle.erase(g_idle.begin() + i);
            continue;
        }
        IdleEntry entry = g_idle[i++];
        entry.callback(entry.argument);
    }
}

// Returns false when a quit message arrived.
bool dispatch_waiting_messages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // let an outer loop see it too
            return false;
        }
        if (pretranslate_message(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

[[noreturn]] void run_end_sequence(int exit_code) {
    g_ending = true;
    g_idle.clear();
    std::vector<HWND> windows = g_windows;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    EndRoutine routine = g_end_routine;
    g_end_routine = nullptr;
    if (routine) routine();
    for (auto hook : g_shutdown_hooks)
        hook();
    release_dll_command_modules();
    if (g_hidden) DestroyWindow(g_hidden);
    ExitProcess(static_cast<UINT>(exit_code));
}

} // namespace

void initialize_runtime() {
    g_main_thread = GetCurrentThreadId();
    WNDCLASSW cls{};
    cls.lpfnWndProc = hidden_procedure;
    cls.hInstance = program_instance();
    cls.lpszClassName = L"BrindorRuntime";
    RegisterClassW(&cls);
    g_hidden = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               program_instance(), nullptr);
}

void register_end_routine(EndRoutine routine) {
    g_end_routine = routine;
}

void add_idle_callback(HWND window, IdleCallback callback, void* argument) {
    g_idle.push_back({window, callback, argument});
}

void add_pretranslate_hook(bool (*hook)(MSG* msg), bool ahead) {
    g_pretranslate_hooks.insert(ahead ? g_pretranslate_hooks.begin() : g_pretranslate_hooks.end(), hook);
}

bool pretranslate_message(MSG* msg) {
    for (auto hook : g_pretranslate_hooks)
        if (hook(msg)) return true;
    HWND top = GetAncestor(msg->hwnd, GA_ROOT);
    return top && top != g_hidden && IsDialogMessageW(top, msg); // Tab between controls
}

void run_message_loop() {
    if (g_windows.empty()) return;
    for (;;) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            run_idle_callbacks();
            WaitMessage();
        }
        if (!dispatch_waiting_messages()) {
            MSG quit;
            PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            return;
        }
    }
}

void run_modal_loop(HWND window) {
    while (IsWindow(window)) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            run_idle_callbacks();
            WaitMessage();
        }
        if (!dispatch_waiting_messages()) return;
    }
}

void end_program(int exit_code) {
    if (on_main_thread()) run_end_sequence(exit_code);
    if (!g_ending.exchange(true)) PostMessageW(g_hidden, kEndRequest, static_cast<WPARAM>(exit_code), 0);
    ExitProcess(static_cast<UINT>(exit_code));
}

void end_program_after_error() {
    g_end_routine = nullptr;
    end_program(-1);
}

bool on_main_thread() {
    return GetCurrentThreadId() == g_main_thread;
}
bool program_is_ending() {
    return g_ending;
}
HWND hidden_main_window() {
    return g_hidden;
}
HINSTANCE program_instance() {
    return GetModuleHandleW(nullptr);
}

void window_opened(HWND window) {
    g_windows.push_back(window);
}

void window_closed(HWND window) {
    for (auto it = g_windows.begin(); it != g_windows.end(); ++it)
        if (*it == window) {
            g_windows.erase(it);
            break;
        }
    if (g_windows.empty() && !g_ending) PostQuitMessage(0);
}

int open_window_count() {
    return static_cast<int>(g_windows.size());
}

void add_shutdown_hook(void (*hook)()) {
    g_shutdown_hooks.push_back(hook);
}

} // namespace brindor
