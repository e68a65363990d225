// Presses a control of the running program, found by its id: press_control <hex id>.
// Lets a script open the sign-in window without a pointer device.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Search {
    UINT_PTR id;
    HWND found;
};

BOOL CALLBACK find_child(HWND window, LPARAM lparam) {
    auto* s = reinterpret_cast<Search*>(lparam);
    if (static_cast<UINT_PTR>(GetWindowLongPtrW(window, GWLP_ID)) != s->id) return TRUE;
    s->found = window;
    return FALSE;
}

BOOL CALLBACK find_in_top(HWND window, LPARAM lparam) {
    EnumChildWindows(window, find_child, lparam);
    return reinterpret_cast<Search*>(lparam)->found == nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Search s{static_cast<UINT_PTR>(std::strtoul(argv[1], nullptr, 16)), nullptr};
    for (int attempt = 0; attempt < 50 && !s.found; ++attempt) {
        EnumWindows(find_in_top, reinterpret_cast<LPARAM>(&s));
        if (!s.found) Sleep(100);
    }
    if (!s.found) {
        std::fprintf(stderr, "no control %s\n", argv[1]);
        return 1;
    }
    PostMessageW(s.found, BM_CLICK, 0, 0);
    return 0;
}
