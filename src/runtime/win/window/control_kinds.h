// One factory per control kind.
#pragma once
#include "runtime/win/window/control.h"

namespace brindor {

std::unique_ptr<Control> make_label(const ControlDefinition& definition);
std::unique_ptr<Control> make_button(const ControlDefinition& definition);
std::unique_ptr<Control> make_edit_box(const ControlDefinition& definition);
std::unique_ptr<Control> make_process_bar(const ControlDefinition& definition);
std::unique_ptr<Control> make_list_view(const ControlDefinition& definition);
std::unique_ptr<Control> make_common_dlg(const ControlDefinition& definition);
std::unique_ptr<Control> make_html_viewer(const ControlDefinition& definition);

} // namespace brindor
