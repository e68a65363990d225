// Button: a push button whose click runs the definition's handler.
#include "runtime/win/window/control_kinds.h"

namespace brindor {

namespace {

class Button final : public TextControl {
  public:
    using TextControl::TextControl;

    bool create(HWND parent) override { return create_child(parent, L"BUTTON", BS_PUSHBUTTON) != nullptr; }

    void on_command(int notification) override {
        if (notification == BN_CLICKED && definition().on_click) definition().on_click();
    }
};

} // namespace

std::unique_ptr<Control> make_button(const ControlDefinition& d) {
    return std::make_unique<Button>(d);
}

} // namespace brindor
