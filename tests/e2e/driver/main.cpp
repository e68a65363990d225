// The end-to-end driver: one command per line on stdin, one answer per line on stdout.
#include "commands.h"

#include <commctrl.h>

namespace driver {
namespace {

Reply ping(const Args&) {
    return Reply().add(L"pong");
}

Reply pause(const Args& args) {
    Sleep(DWORD(number_arg(args, 0, L"milliseconds", INT64_MIN)));
    return {};
}

const CommandEntry kCommands[] = {
    {L"ping", ping},
    {L"sleep", pause},
    {L"windows", windows},
    {L"wait_window", wait_window},
    {L"wait_gone", wait_gone},
    {L"control", control},
    {L"children", children},
    {L"info", info},
    {L"owner", owner},
    {L"text", text},
    {L"set_text", set_text},
    {L"click", click},
    {L"focus", focus},
    {L"type", type},
    {L"key", key},
    {L"select", select},
    {L"enabled", enabled},
    {L"visible", visible},
    {L"rect", rect},
    {L"client_rect", client_rect},
    {L"close", close},
    {L"place", place},
    {L"progress", progress},
    {L"combo_items", combo_items},
    {L"list_rows", list_rows},
    {L"list_count", list_count},
    {L"list_columns", list_columns},
    {L"list_style", list_style},
    {L"list_select", list_select},
    {L"context_menu", context_menu},
    {L"menu_keys", menu_keys},
    {L"menu_open", menu_open},
    {L"clipboard", clipboard},
    {L"set_clipboard", set_clipboard},
    {L"drop_files", drop_files},
    {L"copy_data", copy_data},
    {L"wait_message_box", wait_message_box},
    {L"press", press},
    {L"open_file", open_file},
    {L"cancel_file", cancel_file},
    {L"file_dialog_name", file_dialog_name},
    {L"start", start},
    {L"wait_exit", wait_exit},
    {L"kill", kill},
    {L"desktop", desktop},
    {L"probe", probe},
    {L"focused", focused},
    {L"press_key", press_key},
    {L"chord", chord},
    {L"mouse_click", mouse_click},
};

std::wstring answer(const std::wstring& line) {
    Args args = split_line(line);
    std::wstring name = args.front();
    args.erase(args.begin());
    for (const auto& command : kCommands) {
        if (name != command.name) continue;
        try {
            std::wstring reply = L"ok";
            for (const auto& field : command.run(args).fields)
                reply += L"\t" + escape_field(field);
            return reply;
        } catch (const Failure& failure) {
            return L"error\t" + escape_field(failure.message);
        }
    }
    return L"error\tunknown command " + escape_field(name);
}

} // namespace
} // namespace driver

int main() {
    using namespace driver;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    std::string line;
    while (read_line(line)) {
        if (line.empty()) continue;
        if (line == "quit") {
            write_line("ok\tbye");
            break;
        }
        write_line(to_utf8(answer(from_utf8(line))));
    }
    return 0;
}
