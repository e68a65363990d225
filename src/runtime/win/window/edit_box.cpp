// EditBox: a single-line edit, or a multi-line one with a vertical scroll bar; in integer input mode it
// filters typing and normalises its content when it loses the focus.
#include <windows.h>
#include <commctrl.h>

#include "runtime/core/integer_input.h"
#include "runtime/win/window/control_colors.h"
#include "runtime/win/window/control_kinds.h"
#include "runtime/win/window/window_text.h"

namespace brindor {

namespace {

constexpr WPARAM kMostMultiLineCharacters = 1 << 20;

class EditBox final : public TextControl {
  public:
    explicit EditBox(const ControlDefinition& d) : TextControl(d), colors_(d) {}

    ~EditBox() override {
        if (handle() && IsWindow(handle())) RemoveWindowSubclass(handle(), &EditBox::procedure, 0);
    }

    bool create(HWND parent) override {
        const DWORD lines = definition().multi_line
                                ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL
                                : ES_AUTOHSCROLL;
        const DWORD digits = definition().digits_only ? ES_NUMBER : 0;
        if (!create_child(parent, L"EDIT", ES_LEFT | lines | digits, WS_EX_CLIENTEDGE)) return false;
        // Pasted text longer than the default 32767 characters would be cut without a word.
        if (definition().multi_line) SendMessageW(handle(), EM_SETLIMITTEXT, kMostMultiLineCharacters, 0);
        if (definition().integer_input)
            SetWindowSubclass(handle(), &EditBox::procedure, 0, reinterpret_cast<DWORD_PTR>(this));
        return true;
    }

    HBRUSH on_color(HDC dc) override { return colors_.apply(dc, COLOR_WINDOW); }

    void on_command(int notification) override {
        if (notification == EN_CHANGE && definition().on_change) definition().on_change();
    }

  private:
    void normalize() {
        Text before = get_window_text(handle());
        Text after = normalize_integer_text(before.c_str());
        if (after == before) return;
        DWORD start = 0, end = 0;
        SendMessageW(handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        set_window_text(handle(), after.c_str());
        SendMessageW(handle(), EM_SETSEL, start, end); // the edit clamps to the new length
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                      DWORD_PTR self) {
        if (message == WM_CHAR && !integer_input_accepts(static_cast<uint32_t>(wparam))) return 0;
        if (message == WM_KILLFOCUS) reinterpret_cast<EditBox*>(self)->normalize();
        return DefSubclassProc(window, message, wparam, lparam);
    }

    ControlColors colors_;
};

} // namespace

std::unique_ptr<Control> make_edit_box(const ControlDefinition& d) {
    return std::make_unique<EditBox>(d);
}

} // namespace brindor
