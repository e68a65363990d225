// Property access by window id and control id, from any thread.
#include "runtime/win/window/common_dlg.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

Text read_text_property(ControlRef ref, int number) {
    Text result;
    with_control(ref, [&](Control& c) { result = c.read(number).as_text(); });
    return result;
}

int64_t read_number_property(ControlRef ref, int number) {
    int64_t result = 0;
    with_control(ref, [&](Control& c) { result = c.read(number).as_number(); });
    return result;
}

void write_property(ControlRef ref, int number, const char* text) {
    with_control(ref, [&](Control& c) { c.write(number, PropertyValue::of(Text(text))); });
}

void write_property(ControlRef ref, int number, int64_t value) {
    with_control(ref, [&](Control& c) { c.write(number, PropertyValue::of(value)); });
}

void set_enabled(ControlRef ref, bool enabled) {
    write_property(ref, kPropertyDisable, int64_t{!enabled});
}

bool dialog_open(ControlRef ref, FileName* chosen) {
    bool confirmed = false;
    with_control(ref, [&](Control& c) {
        auto* dialog = dynamic_cast<FileDialogControl*>(&c);
        if (!dialog) return;
        confirmed = dialog->open();
        if (confirmed && chosen) *chosen = dialog->chosen();
    });
    return confirmed;
}

bool dialog_open(ControlRef ref, FileNames& chosen) {
    bool confirmed = false;
    with_control(ref, [&](Control& c) {
        auto* dialog = dynamic_cast<FileDialogControl*>(&c);
        if (!dialog) return;
        confirmed = dialog->open();
        if (confirmed) chosen = dialog->chosen_files();
    });
    return confirmed;
}

} // namespace brindor
