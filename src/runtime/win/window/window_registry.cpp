#include "runtime/win/window/window_registry.h"

#include <mutex>
#include <utility>
#include <vector>

#include "runtime/core/runtime_error.h"

namespace brindor {

namespace {

std::vector<const WindowDefinition*> g_definitions;

// Written on the GUI thread, read from any thread.
std::mutex g_loaded_lock;
std::vector<std::pair<uint32_t, HWND>> g_loaded;

struct WorkItem;
// Work sent to a window's thread and not yet begun there.
std::mutex g_work_lock;
std::vector<const WorkItem*> g_pending_work;

struct WorkItem {
    void (*work)(void*);
    void* argument;
};

} // namespace

void register_window_definition(const WindowDefinition& definition) {
    for (auto& known : g_definitions)
        if (known->window_id == definition.window_id) {
            known = &definition;
            return;
        }
    g_definitions.push_back(&definition);
}

const WindowDefinition* find_window_definition(uint32_t window_id) {
    for (auto* d : g_definitions)
        if (d->window_id == window_id) return d;
    return nullptr;
}

Control* LoadedWindow::find(uint32_t control_id) const {
    for (auto& c : controls)
        if (c->definition().control_id == control_id) return c.get();
    return nullptr;
}

Control* LoadedWindow::find(HWND control) const {
    if (!control) return nullptr;
    for (auto& c : controls)
        if (c->handle() == control) return c.get();
    return nullptr;
}

LoadedWindow* loaded_window_of(HWND window) {
    return reinterpret_cast<LoadedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void remember_loaded_window(uint32_t window_id, HWND window) {
    std::lock_guard lock(g_loaded_lock);
    g_loaded.emplace_back(window_id, window);
}

void forget_loaded_window(uint32_t window_id) {
    std::lock_guard lock(g_loaded_lock);
    for (auto it = g_loaded.begin(); it != g_loaded.end(); ++it)
        if (it->first == window_id) {
            g_loaded.erase(it);
            return;
        }
}

std::vector<HWND> loaded_window_handles() {
    std::lock_guard lock(g_loaded_lock);
    std::vector<HWND> handles;
    for (auto& entry : g_loaded)
        handles.push_back(entry.second);
    return handles;
}

HWND loaded_window_handle(uint32_t window_id) {
    std::lock_guard lock(g_loaded_lock);
    for (auto& entry : g_loaded)
        if (entry.first == window_id) return entry.second;
    return nullptr;
}

bool window_is_loaded(uint32_t window_id) {
    return loaded_window_handle(window_id) != nullptr;
}

HWND require_loaded_window(uint32_t window_id) {
    if (HWND window = loaded_window_handle(window_id)) return window;
    bool any_left;
    {
        std::lock_guard lock(g_loaded_lock);
        any_left = !g_loaded.empty();
    }
    // With no window left the program is ending: a worker still writing its rows stays quiet.
    if (any_left) report_runtime_error_text("未载入欲访问窗口组件所在的窗口");
    return nullptr;
}

void run_on_window_thread(HWND window, void (*work)(void*), void* argument) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return work(argument);
    WorkItem item{work, argument};
    {
        std::lock_guard lock(g_work_lock);
        g_pending_work.push_back(&item);
    }
    SendMessageW(window, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&item));
    std::lock_guard lock(g_work_lock);
    std::erase(g_pending_work, &item);
}

void run_window_work(LPARAM item) {
    // Any program on the desktop can send this message: only an item this process is waiting on
    // is ever followed, and only once.
    auto* w = reinterpret_cast<WorkItem*>(item);
    {
        std::lock_guard lock(g_work_lock);
        if (std::erase(g_pending_work, w) == 0) return;
    }
    w->work(w->argument);
}

} // namespace brindor
