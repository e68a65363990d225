#include "runtime/win/dialog_ops.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "runtime/win/box_button_captions.h"
#include "runtime/win/program.h"
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/program_window.h"
#include "runtime/win/window/window_procedure.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

// Boxes shown with MB_TOPMOST, and boxes an action elsewhere may answer, from any thread, while
// they show.
std::mutex boxes_lock;
std::vector<HWND> boxes_in_front;
std::vector<HWND> boxes_answered_elsewhere;
// The flag of the box this thread shows with message_box_until.
thread_local const std::atomic<bool>* box_cancelled = nullptr;
thread_local bool box_wants_front = false;

// A thread's setting for as long as one box shows.
template <class T> class ScopedValue {
  public:
    ScopedValue(T& setting, T value) : setting_(setting), before_(setting) { setting_ = value; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;
    ~ScopedValue() { setting_ = before_; }

  private:
    T& setting_;
    T before_;
};
using ScopedFlag = ScopedValue<bool>;

void forget_closed_boxes() {
    std::lock_guard<std::mutex> hold(boxes_lock);
    std::erase_if(boxes_in_front, [](HWND box) { return !IsWindow(box); });
    std::erase_if(boxes_answered_elsewhere, [](HWND box) { return !IsWindow(box); });
}

void remember(std::vector<HWND>& boxes, HWND box) {
    if (std::find(boxes.begin(), boxes.end(), box) == boxes.end()) boxes.push_back(box);
}

// IDCANCEL, which a box without 取消 answers with its only button.
void cancel_box(HWND box) {
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

// The control that has the keyboard focus on the program's window thread, given back after a box:
// a box without an owner takes the focus away, and nothing would bring it back.
class FocusKeeper {
  public:
    FocusKeeper() {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (read_gui_thread(info) && info.hwndFocus && IsChild(info.hwndActive, info.hwndFocus)) {
            active_ = info.hwndActive;
            focus_ = info.hwndFocus;
        }
    }
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

    ~FocusKeeper() {
        if (!focus_ || !IsWindow(focus_) || !is_program_window(active_) || program_is_ending()) return;
        on_window_thread(active_, [this] { give_back(); });
    }

  private:
    static bool read_gui_thread(GUITHREADINFO& info) {
        HWND hidden = hidden_main_window();
        DWORD thread = hidden ? GetWindowThreadProcessId(hidden, nullptr) : 0;
        return thread && GetGUIThreadInfo(thread, &info);
    }

    void give_back() const {
        if (!IsWindow(focus_) || !IsWindowEnabled(active_) || !IsWindowEnabled(focus_) ||
            GetFocus() == focus_)
            return;
        if (LoadedWindow* loaded = loaded_window_of(active_)) loaded->last_focus = focus_;
        // The box had the front; the system's foreground lock keeps a window the user went to since.
        SetForegroundWindow(active_);
        SetFocus(focus_);
    }

    HWND active_ = nullptr;
    HWND focus_ = nullptr;
};

// MB_TOPMOST makes the box topmost where the system honours it; where it does not, the box is
// raised above every other window when it becomes active. A box that may be answered elsewhere is
// known from then on, and answered at once when it already is.
class TopmostWhenActive {
  public:
    explicit TopmostWhenActive(bool on)
        : hook_(on || box_cancelled ? SetWindowsHookExW(WH_CBT, &on_cbt, nullptr, GetCurrentThreadId())
                                    : nullptr),
          wants_front_(box_wants_front, on) {}
    TopmostWhenActive(const TopmostWhenActive&) = delete;
    TopmostWhenActive& operator=(const TopmostWhenActive&) = delete;
    ~TopmostWhenActive() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }

  private:
    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam) {
        // The box only: a window of the program activated meanwhile on this thread stays as it is.
        const HWND window = reinterpret_cast<HWND>(wparam);
        if (code == HCBT_ACTIVATE && is_dialog_box(window)) {
            if (box_wants_front)
                SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            std::lock_guard<std::mutex> hold(boxes_lock);
            if (box_wants_front) remember(boxes_in_front, window);
            // Under the lock: a cancel either finds the box listed or its flag set.
            if (box_cancelled) {
                remember(boxes_answered_elsewhere, window);
                if (*box_cancelled) cancel_box(window);
            }
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    HHOOK hook_;
    ScopedFlag wants_front_;
};

} // namespace

int message_box_until(const char* content, int buttons, const char* title,
                      const std::atomic<bool>& cancelled) {
    ScopedValue<const std::atomic<bool>*> flag(box_cancelled, &cancelled);
    return message_box(content, buttons, title);
}

void cancel_boxes_until() {
    std::lock_guard<std::mutex> hold(boxes_lock);
    for (HWND box : boxes_answered_elsewhere)
        cancel_box(box);
}

int message_box(const char* content, int buttons, const char* title) {
    UINT style = static_cast<UINT>(buttons);
    if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    std::wstring wide_content = to_wide(content);
    std::wstring wide_title = to_wide(title ? title : "信息：");
    // A box of another thread blocks that thread only: the windows stay usable meanwhile.
    if (HWND hidden = hidden_main_window(); hidden && !on_main_thread() && !program_is_ending())
        on_window_thread(hidden, [] { enable_windows_nothing_holds(); });
    FocusKeeper focus;
    BoxButtonCaptions captions;
    TopmostWhenActive topmost(style & MB_TOPMOST);
    int pressed = MessageBoxW(nullptr, wide_content.c_str(), wide_title.c_str(), style);
    forget_closed_boxes();
    // IDOK .. IDNO are 1 .. 7, in the order of the results.
    return pressed >= IDOK && pressed <= IDNO ? pressed - IDOK : -1;
}

void raise_boxes_in_front() {
    std::lock_guard<std::mutex> hold(boxes_lock);
    // Asynchronous: a box's thread may be busy, and the keyboard stays where the user put it.
    constexpr UINT kOnlyOrder =
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_ASYNCWINDOWPOS;
    // Leaving the topmost band and entering it again puts the box on top of it: a box that is
    // topmost already does not move otherwise.
    for (HWND box : boxes_in_front)
        if (IsWindowVisible(box)) {
            SetWindowPos(box, HWND_NOTOPMOST, 0, 0, 0, 0, kOnlyOrder);
            SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, kOnlyOrder);
        }
}

} // namespace brindor
