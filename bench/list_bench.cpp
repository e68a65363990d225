// The report list's costs as the number of rows grows, for our list (the window framework's
// ListView, rows added from a worker thread with insert_row and set_cell_text in one trip to the
// window's thread, as the program adds them) or for a bare list-view control filled the same way
// (one trip per row carrying LVM_INSERTITEM and four LVM_SETITEMTEXT), or for a bare owner-data
// list-view control (rows in the bench's own memory, as ours keeps them).
//   list_bench.exe ours|bare|owner [--hold] [SIZES...]   default sizes 1000 10000 100000; --hold keeps the
//                                                  window 3 s after the last size
// At each size: the last rows up to it are added with the window shown, each followed by the
// repaint it caused (insert; row_trip is the row's own trip without that repaint), then full
// repaints and page-downs are timed on the window's thread. Rows before those are added with the
// window hidden, timed as "fill". One line per size:
//   size N insert_ms_mean X insert_ms_p99 X row_trip_ms_mean X repaint_ms_p50 X repaint_ms_p99 X
//   pagedown_ms_p50 X pagedown_ms_p99 X fill_ms_per_row X select_all_ms X menu_ms X copy_all_ms X
// The last three are the report's actions with every row: select all, deciding the shortcut menu's
// greying (row and selection counts, a look for a failed row) and copying the rows to the clipboard.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/report/report_text.h"
#include "runtime/core/conversions.h"
#include "runtime/win/clipboard_ops.h"
#include "runtime/win/program.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_definition.h"
#include "runtime/win/window/window_registry.h"
#include "bench_clock.h"

namespace {

constexpr int kTimedRows = 300; // rows added with the window shown, per size
constexpr int kPaints = 40;     // repaints and page-downs timed, per size

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<size_t>(share * static_cast<double>(values.size())))];
}

double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values)
        sum += v;
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

// A row of the batch's shape: number, title, size, link, status.
struct RowTexts {
    std::string cells[5];
};

RowTexts MakeRow(int i) {
    char link[80];
    std::snprintf(link, sizeof link, "magnet:?xt=urn:btih:%08x%032x", static_cast<unsigned>(i * 2654435761u),
                  static_cast<unsigned>(i));
    return RowTexts{{std::to_string(i), "Some.Title.Of.A.Catalogue.Entry.1080p", "1.5GB", link, "status"}};
}

// What the measurement needs of either list. The window's thread runs the work it is handed.
class Subject {
  public:
    virtual ~Subject() = default;
    virtual void AddRow(const RowTexts& row) = 0; // from the worker
    virtual void OnWindowThread(void (*work)(void*), void* argument) = 0;
    virtual HWND frame() const = 0;
    virtual HWND list() const = 0;
    virtual void Finish() = 0;
    // On the window's thread, with every row.
    virtual void SelectAll() = 0;
    virtual bool MenuState() = 0;
    virtual void CopyAll() = 0;

    template <class F> void Run(F work) {
        OnWindowThread([](void* f) { (*static_cast<F*>(f))(); }, &work);
    }
};

// --- ours ----------------------------------------------------------------------------------------

constexpr uint32_t kBenchWindowId = 0x52010901;
constexpr brindor::ControlRef kBenchList{kBenchWindowId, 0x16010901};
constexpr brindor::ColumnDefinition kColumns[] = {
    {"编号", 50}, {"标题", 250}, {"大小", 50}, {"磁力链接", 250}, {"提交状态", 100},
};
constexpr brindor::ListSettings kListSettings{3, kColumns, 5, true}; // several rows selected, as the report
const brindor::ControlDefinition kControls[] = {
    {.kind = brindor::ControlKind::ListView,
     .name = "list",
     .control_id = kBenchList.control_id,
     .type_id = 0x00030004,
     .left = 0,
     .top = 40,
     .width = 816,
     .height = 328,
     .tab_stop = true,
     .text_color = brindor::rgb(0, 0, 0),
     .back_color = brindor::rgb(255, 255, 255),
     .list = &kListSettings},
};
const brindor::WindowDefinition kWindow{
    .window_id = kBenchWindowId,
    .control_id = 0x16010900,
    .caption = "list bench",
    .width = 824,
    .height = 505,
    .controls = kControls,
    .control_count = 1,
};

class OurList final : public Subject {
  public:
    OurList() {
        HWND window = brindor::loaded_window_handle(kBenchWindowId);
        frame_ = window;
        list_ = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    }
    void AddRow(const RowTexts& row) override {
        // As the program's worker adds a report row: one trip for the row and its cells.
        brindor::on_window_thread(frame_, [&] {
            const int index = brindor::insert_row(kBenchList, -1, row.cells[0].c_str());
            for (int column = 1; column <= 4; ++column)
                brindor::set_cell_text(kBenchList, index, column, row.cells[column].c_str());
        });
    }
    void OnWindowThread(void (*work)(void*), void* argument) override {
        brindor::run_on_window_thread(frame_, work, argument);
    }
    HWND frame() const override { return frame_; }
    HWND list() const override { return list_; }
    void Finish() override { brindor::end_program(0); }
    void SelectAll() override { brindor::select_all_rows(kBenchList); }
    bool MenuState() override {
        bool failed = false;
        brindor::for_each_list_row(kBenchList, false, [&](const brindor::TextArray& row) {
            return !(failed = brindor::app::IsFailedRow(row));
        });
        return brindor::list_row_count(kBenchList) > 0 && brindor::selected_row_count(kBenchList) > 0 &&
               !failed;
    }
    void CopyAll() override {
        brindor::TextBuilder out;
        brindor::app::AppendTabSeparatedLine(out, brindor::list_column_titles(kBenchList));
        brindor::for_each_list_row(kBenchList, true, [&](const brindor::TextArray& row) {
            brindor::app::AppendTabSeparatedLine(out, row);
            return true;
        });
        brindor::set_clipboard_text(frame_, out.take().c_str());
    }

  private:
    HWND frame_ = nullptr;
    HWND list_ = nullptr;
};

// --- bare ----------------------------------------------------------------------------------------

constexpr UINT kRunWork = WM_APP + 1;

struct Work {
    void (*work)(void*);
    void* argument;
};

// The owner-data list's rows, in UTF-16 as the control shows them; the window's thread's.
std::vector<std::wstring> owner_rows[5];

std::wstring Widened(const std::string& narrow) {
    std::wstring wide;
    for (char ch : narrow)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    return wide;
}

LRESULT CALLBACK BareFrameProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kRunWork) {
        const Work* w = reinterpret_cast<const Work*>(lparam);
        w->work(w->argument);
        return 0;
    }
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lparam)->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lparam)->item;
        if ((item.mask & LVIF_TEXT) && item.iSubItem >= 0 && item.iSubItem < 5 && item.iItem >= 0 &&
            static_cast<size_t>(item.iItem) < owner_rows[0].size())
            lstrcpynW(item.pszText, owner_rows[item.iSubItem][static_cast<size_t>(item.iItem)].c_str(),
                      item.cchTextMax);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

class BareList final : public Subject {
  public:
    explicit BareList(bool owner_data) : owner_data_(owner_data) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW frame_class{};
        frame_class.lpfnWndProc = BareFrameProcedure;
        frame_class.hInstance = GetModuleHandleW(nullptr);
        frame_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        frame_class.lpszClassName = L"BareListFrame";
        RegisterClassW(&frame_class);
        frame_ = CreateWindowExW(0, L"BareListFrame", L"bare list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                 100, 824, 505, nullptr, nullptr, frame_class.hInstance, nullptr);
        list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                    LVS_NOSORTHEADER | (owner_data ? LVS_OWNERDATA : LVS_SINGLESEL),
                                0, 40, 816, 328, frame_, nullptr, frame_class.hInstance, nullptr);
        const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
        SendMessageW(list_, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
        SendMessageW(list_, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
        SendMessageW(list_, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
        const wchar_t* titles[] = {L"\u7f16\u53f7", L"\u6807\u9898", L"\u5927\u5c0f",
                                   L"\u78c1\u529b\u94fe\u63a5", L"\u63d0\u4ea4\u72b6\u6001"};
        for (int i = 0; i < 5; ++i) {
            LVCOLUMNW column{};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            column.cx = kColumns[i].width;
            column.pszText = const_cast<wchar_t*>(titles[i]);
            column.iSubItem = i;
            SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
    }
    void AddRow(const RowTexts& row) override {
        if (owner_data_) {
            Run([&] {
                for (int c = 0; c < 5; ++c)
                    owner_rows[c].push_back(Widened(row.cells[c]));
                SendMessageW(list_, LVM_SETITEMCOUNT, owner_rows[0].size(), LVSICF_NOINVALIDATEALL);
            });
            return;
        }
        Run([&] {
            std::wstring cells[5];
            for (int c = 0; c < 5; ++c)
                for (char ch : row.cells[c])
                    cells[c] += static_cast<wchar_t>(static_cast<unsigned char>(ch));
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
            item.pszText = cells[0].data();
            const WPARAM index = SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            for (int c = 1; c < 5; ++c) {
                LVITEMW cell{};
                cell.iSubItem = c;
                cell.pszText = cells[c].data();
                SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
            }
        });
    }
    void OnWindowThread(void (*work)(void*), void* argument) override {
        Work w{work, argument};
        SendMessageW(frame_, kRunWork, 0, reinterpret_cast<LPARAM>(&w));
    }
    HWND frame() const override { return frame_; }
    HWND list() const override { return list_; }
    void Finish() override { PostMessageW(frame_, WM_CLOSE, 0, 0); }
    // The control's own select-all, as a program without the framework would call it.
    void SelectAll() override {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    }
    bool MenuState() override {
        bool failed = false;
        for (size_t i = 0; i < owner_rows[4].size() && !failed; ++i)
            failed = owner_rows[4][i] == L"failed";
        return SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) > 0 &&
               SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0) > 0 && !failed;
    }
    // The selected rows, tab-separated, from the bench's own memory.
    void CopyAll() override {
        std::wstring text;
        for (int row = -1;
             (row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, row, LVNI_SELECTED))) != -1;) {
            for (int c = 0; c < 5; ++c)
                text += owner_rows[c][static_cast<size_t>(row)] + (c < 4 ? L"\t" : L"\r\n");
        }
        if (!OpenClipboard(frame_)) return;
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        if (memory) {
            std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        }
        CloseClipboard();
    }

  private:
    bool owner_data_;
    HWND frame_ = nullptr;
    HWND list_ = nullptr;
};

// --- measurement ---------------------------------------------------------------------------------

// Paints what is pending and waits for the drawing to reach the display server.
void PaintNow(HWND list) {
    UpdateWindow(list);
    GdiFlush();
}

void SetShown(Subject& subject, bool shown) {
    subject.Run([&] {
        ShowWindow(subject.frame(), shown ? SW_SHOWNORMAL : SW_HIDE);
        if (shown) PaintNow(subject.frame());
    });
}

void MeasureSize(Subject& subject, int& rows, int size) {
    const int hidden_until = std::max(rows, size - kTimedRows);
    double fill_ms = 0;
    if (hidden_until > rows) {
        SetShown(subject, false);
        const double t0 = NowMs();
        const int from = rows;
        for (; rows < hidden_until; ++rows)
            subject.AddRow(MakeRow(rows + 1));
        fill_ms = (NowMs() - t0) / (rows - from);
        SetShown(subject, true);
    }
    std::vector<double> inserts, trips;
    for (; rows < size; ++rows) {
        const RowTexts row = MakeRow(rows + 1);
        const double t0 = NowMs();
        subject.AddRow(row);
        const double t1 = NowMs();
        subject.Run([&] { PaintNow(subject.list()); });
        inserts.push_back(NowMs() - t0);
        trips.push_back(t1 - t0);
    }
    std::vector<double> repaints, page_downs;
    subject.Run([&] {
        HWND list = subject.list();
        SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
        PaintNow(list);
        for (int i = 0; i < kPaints; ++i) {
            InvalidateRect(list, nullptr, TRUE);
            const double t0 = NowMs();
            PaintNow(list);
            repaints.push_back(NowMs() - t0);
        }
        RECT client;
        GetClientRect(list, &client);
        const int page = std::max<LONG>(1, client.bottom - client.top - 30);
        for (int i = 0; i < kPaints; ++i) {
            const double t0 = NowMs();
            SendMessageW(list, LVM_SCROLL, 0, page);
            PaintNow(list);
            page_downs.push_back(NowMs() - t0);
        }
        SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
        PaintNow(list);
    });
    // The report's actions, where the rows live in the program (an owner-data control).
    double select_all_ms = 0, menu_ms = 0, copy_all_ms = 0;
    if (GetWindowLongW(subject.list(), GWL_STYLE) & LVS_OWNERDATA)
        subject.Run([&] {
            double t0 = NowMs();
            subject.SelectAll();
            PaintNow(subject.list());
            select_all_ms = NowMs() - t0;
            t0 = NowMs();
            subject.MenuState();
            menu_ms = NowMs() - t0;
            t0 = NowMs();
            subject.CopyAll();
            copy_all_ms = NowMs() - t0;
            // Unselected again (not timed), so the next size's inserts cost what they did.
            LVITEMW none{};
            none.stateMask = LVIS_SELECTED;
            SendMessageW(subject.list(), WM_SETREDRAW, FALSE, 0);
            SendMessageW(subject.list(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(&none));
            SendMessageW(subject.list(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(subject.list(), nullptr, TRUE);
        });
    std::printf(
        "size %d insert_ms_mean %.3f insert_ms_p99 %.3f row_trip_ms_mean %.3f repaint_ms_p50 %.3f "
        "repaint_ms_p99 %.3f "
        "pagedown_ms_p50 %.3f pagedown_ms_p99 %.3f fill_ms_per_row %.3f select_all_ms %.3f menu_ms %.3f "
        "copy_all_ms %.3f\n",
        size, Mean(inserts), Percentile(inserts, 0.99), Mean(trips), Percentile(repaints, 0.5),
        Percentile(repaints, 0.99), Percentile(page_downs, 0.5), Percentile(page_downs, 0.99), fill_ms,
        select_all_ms, menu_ms, copy_all_ms);
    std::fflush(stdout);
}

struct Job {
    Subject* subject;
    std::vector<int> sizes;
    bool hold = false;
};

DWORD WINAPI Measure(void* parameter) {
    Job* job = static_cast<Job*>(parameter);
    int rows = 0;
    for (int size : job->sizes)
        MeasureSize(*job->subject, rows, size);
    if (job->hold) {
        // Shown at its last size for a screenshot.
        std::printf("holding\n");
        std::fflush(stdout);
        Sleep(3000);
    }
    job->subject->Finish();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    Job job;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--hold")
            job.hold = true;
        else
            job.sizes.push_back(std::atoi(argv[i]));
    }
    if (job.sizes.empty()) job.sizes = {1000, 10000, 100000};
    if (mode == "ours") {
        brindor::initialize_runtime();
        brindor::register_window_definition(kWindow);
        brindor::load_start_window(kBenchWindowId);
        OurList subject;
        job.subject = &subject;
        CreateThread(nullptr, 0, Measure, &job, 0, nullptr);
        brindor::run_message_loop();
        brindor::end_program(0);
    }
    if (mode == "bare" || mode == "owner") {
        BareList subject(mode == "owner");
        job.subject = &subject;
        HANDLE worker = CreateThread(nullptr, 0, Measure, &job, 0, nullptr);
        for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        WaitForSingleObject(worker, INFINITE);
        return 0;
    }
    std::fprintf(stderr, "usage: list_bench ours|bare|owner [SIZES...]\n");
    return 2;
}
