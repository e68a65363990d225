// A control on a loaded window: one subclass per kind. Lives and is used on the window's thread.
#pragma once
#include <windows.h>

#include <memory>

#include "runtime/win/window/property_value.h"
#include "runtime/win/window/window_definition.h"

namespace brindor {

// A child window's rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND window);

class Control {
  public:
    explicit Control(const ControlDefinition& definition) : definition_(definition) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    virtual bool create(HWND parent) = 0;
    // Called while the window is being destroyed, before the child windows go.
    virtual void close() {}

    // Kind properties from 8 on; the shared ones are handled here.
    virtual PropertyValue read(int number);
    virtual void write(int number, const PropertyValue& value);

    virtual void on_command(int /*notification*/) {}
    // The window now shows at `dpi`; `gui_font` is the default font at that DPI.
    virtual void apply_dpi(int dpi, HFONT gui_font);
    // The window has moved or sized the control to follow its edges.
    virtual void on_resized() {}
    // WM_NOTIFY from the control; the value the window procedure returns.
    virtual LRESULT on_notify(NMHDR* /*header*/) { return 0; }
    // WM_CTLCOLOR*: the brush to paint with, or null for the default.
    virtual HBRUSH on_color(HDC /*dc*/) { return nullptr; }

    const ControlDefinition& definition() const { return definition_; }
    HWND handle() const { return handle_; }

  protected:
    HWND create_child(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style = 0);
    // Windowless kinds keep their rectangle and visibility here.
    RECT rect_{};
    bool visible_ = true;
    bool enabled_ = true;
    HWND handle_ = nullptr;

  private:
    void enable_keeping_focus();

    const ControlDefinition& definition_;
    Text tag_;
    int64_t mouse_pointer_ = 0;
};

// Kinds whose property 8 is the window text (caption or content).
class TextControl : public Control {
  public:
    using Control::Control;
    PropertyValue read(int number) override;
    void write(int number, const PropertyValue& value) override;
};

std::unique_ptr<Control> make_control(const ControlDefinition& definition);

} // namespace brindor
