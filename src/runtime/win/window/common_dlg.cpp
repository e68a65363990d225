// CommonDlg: no window of its own; its properties are what the open-file dialog shows.
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/common_dlg.h"
#include "runtime/win/window/control_kinds.h"

namespace brindor {

namespace {

class CommonDlg final : public Control, public FileDialogControl {
  public:
    explicit CommonDlg(const ControlDefinition& d) : Control(d) {
        rect_ = {d.left, d.top, d.left + d.width, d.top + d.height};
        visible_ = false;
        if (const FileDialogSettings* s = d.file_dialog) {
            properties_.title = s->title;
            properties_.file_name = s->file_name;
            properties_.filter = s->filter;
            properties_.initial_filter = s->initial_filter;
            properties_.initial_directory = s->initial_directory;
            properties_.default_extension = s->default_extension;
            properties_.must_exist = s->must_exist;
            properties_.multiple = s->multiple;
        }
    }

    bool create(HWND parent) override {
        owner_ = parent;
        return true;
    }

    // 8 kind (0: open), 9 title, 10 file name, 11 filter, 12 initial filter, 13 initial directory,
    // 14 default extension, 15 the file must exist, 16 several files may be chosen.
    PropertyValue read(int number) override {
        switch (number) {
        case 8:
            return PropertyValue::of(0);
        case 9:
            return PropertyValue::of(properties_.title);
        case 10:
            return PropertyValue::of(properties_.file_name);
        case 11:
            return PropertyValue::of(properties_.filter);
        case 12:
            return PropertyValue::of(properties_.initial_filter);
        case 13:
            return PropertyValue::of(properties_.initial_directory);
        case 14:
            return PropertyValue::of(properties_.default_extension);
        case 15:
            return PropertyValue::of(properties_.must_exist);
        case 16:
            return PropertyValue::of(properties_.multiple);
        default:
            return Control::read(number);
        }
    }

    void write(int number, const PropertyValue& value) override {
        switch (number) {
        case 8:
            break; // only the open dialog exists
        case 9:
            properties_.title = value.as_text();
            break;
        case 10:
            properties_.file_name = value.as_text();
            break;
        case 11:
            properties_.filter = value.as_text();
            break;
        case 12:
            properties_.initial_filter = static_cast<int>(value.as_number());
            break;
        case 13:
            properties_.initial_directory = value.as_text();
            break;
        case 14:
            properties_.default_extension = value.as_text();
            break;
        case 15:
            properties_.must_exist = value.as_number() != 0;
            break;
        case 16:
            properties_.multiple = value.as_number() != 0;
            break;
        default:
            Control::write(number, value);
        }
    }

    // Owned by the control's window, so the window takes no input while the dialog is open.
    bool open() override { return dialog_open(properties_, owner_); }
    const FileName& chosen() const override { return properties_.chosen; }
    const FileNames& chosen_files() const override { return properties_.chosen_files; }

  private:
    FileDialogProperties properties_;
    HWND owner_ = nullptr;
};

} // namespace

std::unique_ptr<Control> make_common_dlg(const ControlDefinition& d) {
    return std::make_unique<CommonDlg>(d);
}

} // namespace brindor
