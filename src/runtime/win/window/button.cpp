// Button: a push button whose click runs the definition's handler.
#include "runtime/win/window/control_kinds.h"
#include "runtime/win/window/window_text.h"

namespace brindor {

namespace {

class Button final : public Control {
  public:
    using Control::Control;

    bool create(HWND parent) override { return create_child(parent, L"BUTTON", BS_PUSHBUTTON) != nullptr; }

    PropertyValue read(int number) override {
        if (number == 8) return PropertyValue::of(get_window_text(handle()));
        return Control::read(number);
    }

    void write(int number, const PropertyValue& value) override {
        if (number == 8) return set_window_text(handle(), value.as_text().c_str());
        Control::write(number, value);
    }

    void on_command(int notification) override {
        if (notification == BN_CLICKED && definition().on_click) definition().on_click();
    }
};

} // namespace

std::unique_ptr<Control> make_button(const ControlDefinition& d) {
    return std::make_unique<Button>(d);
}

} // namespace brindor
