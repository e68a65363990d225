// ProcessBar: the progress bar; 11 minimum, 12 maximum, 13 position.
#include <windows.h>
#include <commctrl.h>

#include "runtime/win/window/control_kinds.h"

namespace brindor {

namespace {

class ProcessBar final : public Control {
  public:
    using Control::Control;

  private:
    // Some systems paint the bar at once for every new position, and a worker thread setting it
    // waits for that paint; the paint is left to the message loop instead.
    void set_position(int position) {
        SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
        SendMessageW(handle(), PBM_SETPOS, position, 0);
        SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(handle(), nullptr, FALSE);
    }

  public:
    bool create(HWND parent) override { return create_child(parent, PROGRESS_CLASSW, 0) != nullptr; }

    PropertyValue read(int number) override {
        switch (number) {
        case 11:
            return PropertyValue::of(SendMessageW(handle(), PBM_GETRANGE, TRUE, 0));
        case 12:
            return PropertyValue::of(SendMessageW(handle(), PBM_GETRANGE, FALSE, 0));
        case 13:
            return PropertyValue::of(SendMessageW(handle(), PBM_GETPOS, 0, 0));
        default:
            return Control::read(number);
        }
    }

    void write(int number, const PropertyValue& value) override {
        int v = static_cast<int>(value.as_number());
        int low = static_cast<int>(SendMessageW(handle(), PBM_GETRANGE, TRUE, 0));
        int high = static_cast<int>(SendMessageW(handle(), PBM_GETRANGE, FALSE, 0));
        switch (number) {
        case 11:
            SendMessageW(handle(), PBM_SETRANGE32, v, high);
            break;
        case 12:
            SendMessageW(handle(), PBM_SETRANGE32, low, v);
            break;
        case 13:
            set_position(v);
            break;
        default:
            Control::write(number, value);
        }
    }
};

} // namespace

std::unique_ptr<Control> make_process_bar(const ControlDefinition& d) {
    return std::make_unique<ProcessBar>(d);
}

} // namespace brindor
