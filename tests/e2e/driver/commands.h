// Every command of the driver; args hold the fields after the command name.
#pragma once
#include "wire.h"

namespace driver {

using Command = Reply (*)(const Args& args);

struct CommandEntry {
    const wchar_t* name;
    Command run;
};

// Windows and controls
Reply windows(const Args& args);
Reply wait_window(const Args& args);
Reply wait_gone(const Args& args);
Reply control(const Args& args);
Reply children(const Args& args);
Reply info(const Args& args);
Reply owner(const Args& args);
Reply text(const Args& args);
Reply set_text(const Args& args);
Reply click(const Args& args);
Reply focus(const Args& args);
Reply type(const Args& args);
Reply key(const Args& args);
Reply select(const Args& args);
Reply enabled(const Args& args);
Reply visible(const Args& args);
Reply rect(const Args& args);
Reply client_rect(const Args& args);
Reply close(const Args& args);
Reply place(const Args& args);
Reply progress(const Args& args);
Reply combo_items(const Args& args);

// List views
Reply list_rows(const Args& args);
Reply list_count(const Args& args);
Reply list_columns(const Args& args);
Reply list_style(const Args& args);

// Shortcut menus, the clipboard, dropped files
Reply context_menu(const Args& args);
Reply menu_keys(const Args& args);
Reply menu_open(const Args& args);
Reply clipboard(const Args& args);
Reply set_clipboard(const Args& args);
Reply drop_files(const Args& args);
Reply copy_data(const Args& args);
Reply list_select(const Args& args);

// Dialogs
Reply wait_message_box(const Args& args);
Reply press(const Args& args);
Reply open_file(const Args& args);
Reply cancel_file(const Args& args);
Reply file_dialog_name(const Args& args);

// The program under test
Reply start(const Args& args);
Reply wait_exit(const Args& args);
Reply kill(const Args& args);
Reply desktop(const Args& args);
const std::wstring& desktop_name();

Reply probe(const Args& args);

// Keyboard
Reply focused(const Args& args);
Reply press_key(const Args& args);
Reply chord(const Args& args);
Reply mouse_click(const Args& args);

} // namespace driver
