// Windows and their controls as data: what load_window builds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "runtime/core/file_name.h"

namespace brindor {

enum class ControlKind { Label, Button, EditBox, ProcessBar, ListView, CommonDlg, HtmlViewer };

// A handler and, when it has one, the state it works on: a plain function, or one that is handed
// its context, so a handler's state need not be a global. Null does nothing.
class EventHandler {
  public:
    constexpr EventHandler() = default;
    constexpr EventHandler(std::nullptr_t) {}
    template <class F, class = std::enable_if_t<std::is_convertible_v<F, void (*)()>>>
    constexpr EventHandler(F plain) : plain_(plain) {}
    constexpr EventHandler(void (*call)(void*), void* context) : call_(call), context_(context) {}
    // `F(T&)` called with `*context`, without a cast at the definition.
    template <auto F, class T> static constexpr EventHandler With(T* context) {
        return EventHandler([](void* c) { F(*static_cast<T*>(c)); },
                            const_cast<std::remove_const_t<T>*>(context));
    }

    explicit constexpr operator bool() const { return plain_ || call_; }
    void operator()() const {
        if (call_)
            call_(context_);
        else if (plain_)
            plain_();
    }

  private:
    void (*plain_)() = nullptr;
    void (*call_)(void*) = nullptr;
    void* context_ = nullptr;
};

// x, y: the point on the screen where a menu should open.
using MenuHandler = void (*)(int x, int y);
// key: 'A', 'C' or 'V', pressed with Ctrl.
using ShortcutHandler = void (*)(char key);
// files: full paths.
using FilesDroppedHandler = void (*)(const FileNames& files);
// units: a copy of what another process handed over, `count` UTF-16 units. True when they were well
// formed; the window then comes to the front, restored if minimised.
using CopyDataHandler = bool (*)(const char16_t* units, size_t count);

constexpr uint32_t kDefaultColor = 0xFFFFFFFF;
constexpr uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return red | (green << 8) | (static_cast<uint32_t>(blue) << 16);
}

struct FontDefinition {
    const char* face; // empty: the system's default face for the character set
    int height;       // character height in pixels
    int weight;       // 400 normal, 700 bold
    uint8_t charset;
};

struct ColumnDefinition {
    const char* title;
    int width;
};

struct ListSettings {
    int view_type; // 0 icon, 1 small icon, 2 list, 3 report
    const ColumnDefinition* columns;
    int column_count;
    bool multiple_selection = false;
    // An appended row is scrolled into view while the last row is in view.
    bool follow_end = false;
    // The last column takes the width the others leave, however little.
    bool fill_last_column = false;
    MenuHandler on_menu = nullptr;           // right click, the context-menu key, Shift+F10
    ShortcutHandler on_shortcut = nullptr;   // Ctrl+A, Ctrl+C, Ctrl+V
    EventHandler on_columns_sized = nullptr; // the user dragged a divider or double-clicked it
};

struct FileDialogSettings {
    const char* title;
    const char* file_name;
    const char* filter; // "display|pattern|..."
    int initial_filter; // 0-based
    const char* initial_directory;
    const char* default_extension;
    bool must_exist;
    bool multiple = false; // several files may be chosen at once
};

struct BrowserSettings {
    int font_size; // 0 smallest .. 4 largest
    bool offline;
    bool silent;
    const char* address; // navigated to on creation; empty: none
};

// How a control follows a window that is larger than its definition: flags, none keeps its place.
enum Anchor : uint8_t {
    kGrowWidth = 1,   // the right edge follows the window's
    kGrowHeight = 2,  // the bottom edge follows the window's
    kFollowBottom = 4 // moves with the window's bottom edge, keeping its height
};

struct ControlDefinition {
    ControlKind kind;
    const char* name;
    uint32_t control_id;
    uint32_t type_id;
    int left, top, width, height; // client coordinates of the window
    bool visible = true;
    bool tab_stop = false;
    const char* text = "";                // caption or content
    const FontDefinition* font = nullptr; // null: the default GUI font
    uint32_t text_color = kDefaultColor;
    uint32_t back_color = kDefaultColor;
    bool integer_input = false; // EditBox: digits and "-" only
    bool multi_line = false;    // EditBox: several lines with a scroll bar; Enter starts a new line
    bool digits_only = false;   // EditBox: the system refuses anything but digits as they are typed
    bool shrink_to_fit = false; // Label: a text too wide shows smaller, on the lines that fit
    bool one_line = false;      // Label: never breaks its text into lines
    const ListSettings* list = nullptr;
    const FileDialogSettings* file_dialog = nullptr;
    const BrowserSettings* browser = nullptr;
    EventHandler on_click = nullptr;
    EventHandler on_change = nullptr; // EditBox: its content changed, by the user or the program
    const char* tip = nullptr;        // shown while the mouse rests on the control
    uint8_t anchor = 0;               // Anchor flags
};

// An item the window appends to its system menu (the menu of its title bar icon).
struct SystemMenuItem {
    const char* caption;
    EventHandler on_choose;
    bool (*checked)() = nullptr; // asked each time the menu opens; true shows a check mark
    bool (*enabled)() = nullptr; // asked each time the menu opens; false greys the item
};

// WM_COPYDATA that the window reads: only messages with its tag, of 1 to `largest` bytes of whole
// UTF-16 units, while no more than `largest_waiting` bytes wait to be read.
struct CopyDataSettings {
    uintptr_t tag;
    size_t largest;
    CopyDataHandler on_data; // later, from the message loop, so the sender never waits for it
    size_t largest_waiting;  // senders can send faster than the window reads
};

// A letter pressed with Ctrl anywhere in the window, whichever control has the focus (an embedded
// browser included).
struct ShortcutKey {
    char letter; // 'A' to 'Z'
    EventHandler on_press;
};

// Positions, sizes and font heights are pixels at 96 DPI; a window shows them scaled to its DPI.
struct WindowDefinition {
    uint32_t window_id;
    uint32_t control_id;
    const char* caption;
    // Outer size at 96 DPI with a fixed border, centred on the screen; a sizing frame keeps the
    // client area and grows the outer size.
    int width, height;
    bool minimize_box = false;
    bool maximize_box = false;
    bool resizable = false;                      // a sizing frame; the defined size is the smallest
    const ControlDefinition* controls = nullptr; // in creation order
    int control_count = 0;
    EventHandler on_showing = nullptr; // built but not shown yet: the time to put it where it was left
    EventHandler on_created = nullptr;
    EventHandler on_destroying = nullptr;
    // The user moved or sized it (once, when letting go), maximised or restored it.
    EventHandler on_placed = nullptr;
    uint32_t initial_focus = 0; // the control id that has the keyboard focus when the window opens
    bool close_on_escape = false;
    FilesDroppedHandler on_files_dropped = nullptr; // null: the window takes no dropped files
    const SystemMenuItem* system_menu = nullptr;    // after a separator, below the system's items
    int system_menu_count = 0;
    const ShortcutKey* shortcuts = nullptr;
    int shortcut_count = 0;
    EventHandler on_paste = nullptr; // Ctrl+V wherever the focus is in the window, but in an edit box
    const CopyDataSettings* copy_data = nullptr;
    // The clipboard changed, while listen_to_clipboard has the window listening.
    EventHandler on_clipboard_changed = nullptr;
    // Asked when the window is to close (its close box, Alt+F4, WM_CLOSE): false keeps it open.
    bool (*on_close_asked)() = nullptr;
    // Windows is ending the session: the last moment to finish work; returns when it is finished.
    EventHandler on_session_ending = nullptr;
};

// The program's windows, known before any of them is loaded. The definition must outlive the program.
void register_window_definition(const WindowDefinition& definition);
const WindowDefinition* find_window_definition(uint32_t window_id);

} // namespace brindor
