// Memory per link, one source at a time, each in a fresh process:
//   memory_per_link.exe rows N               a report list like the main window's, N rows of the
//                                            batch's shape (caption, title, size, link, status)
//   memory_per_link.exe wininet HOST PORT N  the bare WinInet pair per link and one timestamp from
//                                            a single script object
//   memory_per_link.exe batch N              the worker's own sequence (resolve, commit, fields,
//                                            size and percent texts) with no rows
// Prints "mark LINKS private_kb P" at 0, after a warm-up of 100, after 1,000 and after N, then waits
// for a line on stdin (bench/memory_bench.py reads the host process's memory meanwhile). P sums the
// committed private regions: Wine leaves the process memory counters at zero.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bare_request.h"

#include "runtime/core/conversions.h"
#include "submit/batch_run.h"
#include "submit/service/win/service_client.h"
#include "text/win/script_timestamp.h"

namespace {

size_t PrivateCommittedKb() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        char* next = static_cast<char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total / 1024;
}

void Mark(int links) {
    std::printf("mark %d private_kb %lu\n", links, static_cast<unsigned long>(PrivateCommittedKb()));
    std::fflush(stdout);
    // Held until the caller has read the host process's figures (any line, or end of input).
    char line[8];
    std::fgets(line, sizeof line, stdin);
}

bool IsMark(int done, int total) {
    return done == 100 || done == 1000 || done == total;
}

std::string MagnetLink(int i) {
    char link[80];
    std::snprintf(link, sizeof link, "magnet:?xt=urn:btih:%08x%032x", static_cast<unsigned>(i * 2654435761u),
                  static_cast<unsigned>(i));
    return link;
}

// --- rows ---------------------------------------------------------------------------------------

int Rows(int count) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND frame = CreateWindowExW(0, L"STATIC", L"rows", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                    LVS_NOSORTHEADER,
                                0, 0, 780, 560, frame, nullptr, nullptr, nullptr);
    if (!list) return 1;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const wchar_t* headings[] = {L"no", L"title", L"size", L"link", L"status"};
    for (int c = 0; c < 5; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 120;
        column.pszText = const_cast<wchar_t*>(headings[c]);
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    Mark(0);
    for (int i = 1; i <= count; ++i) {
        // Same lengths as a batch row; the list keeps its texts as UTF-16 whatever the characters.
        std::wstring cells[5] = {std::to_wstring(i), L"Some.Title.Of.A.Catalogue.Entry.1080p", L"1.5GB", L"",
                                 L"status"};
        for (char c : MagnetLink(i))
            cells[3] += static_cast<wchar_t>(c);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i - 1;
        item.pszText = cells[0].data();
        const int row =
            static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (int c = 1; c < 5; ++c) {
            LVITEMW cell{};
            cell.iSubItem = c;
            cell.pszText = cells[c].data();
            SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
        }
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        if (IsMark(i, count)) Mark(i);
    }
    DestroyWindow(frame);
    return 0;
}

// --- wininet ------------------------------------------------------------------------------------

int Wininet(const std::string& host, INTERNET_PORT port, int count) {
    brindor::ScriptClockScope clock;
    Mark(0);
    const std::string origin = "http://" + host + ":" + std::to_string(port);
    for (int i = 1; i <= count; ++i) {
        const std::string answer = BareRequest(
            origin + "/interface/url_query?callback=queryUrl&u=" + MagnetLink(i) + "&interfrom=task", false,
            "");
        const std::string stamp = brindor::ScriptTimestamp().c_str();
        BareRequest(origin + "/interface/bt_task_commit?callback=jsonp" + stamp, true,
                    "uid=100001&btname=x&cid=" + std::to_string(answer.size()) + "&goldbean=0&silverbean=0");
        if (IsMark(i, count)) Mark(i);
    }
    return 0;
}

// --- batch --------------------------------------------------------------------------------------

class NoRows : public brindor::RunScreen, public brindor::BatchRecord {
  public:
    explicit NoRows(int count) : count_(count) {}
    void RefuseRun(const char*, const char*) override {}
    void ShowEnd(const char*) override {}
    void BeginProgress(int) override {}
    void FillRow(int, brindor::LinkState, brindor::TextRef, brindor::TextRef, brindor::TextRef, brindor::TextRef,
                 brindor::TextRef, brindor::TextRef) override {}
    int32_t Interval() override { return 0; }
    void Begin(const brindor::BatchInput&) override {}
    bool Mark(int, brindor::TextRef) override { return true; }
    void Outcome(int, brindor::LinkState, brindor::TextRef, brindor::TextRef, brindor::TextRef) override {}
    bool End(brindor::TextRef) override { return true; }
    void Wait(int32_t) override {}
    bool StopRequested() override { return false; }
    bool AskRetry(const char*, const char*) override { return false; }
    bool WaitThrottled(int32_t) override { return true; }
    brindor::Text CurrentUserId() override { return {}; }
    void ShowProgress(int position, brindor::TextRef) override {
        if (IsMark(position, count_)) ::Mark(position);
    }

  private:
    int count_;
};

int Batch(int count) {
    brindor::BatchInput input;
    for (int i = 1; i <= count; ++i)
        input.links.append(brindor::Text(MagnetLink(i).c_str()));
    input.user_id = brindor::Text("100001");
    brindor::ScriptClockScope clock;
    NoRows surface(count);
    brindor::HttpServiceClient service;
    Mark(0);
    brindor::RunBatch(input, service, surface, surface);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "rows" && argc == 3) return Rows(std::atoi(argv[2]));
    if (mode == "wininet" && argc == 5)
        return Wininet(argv[2], static_cast<INTERNET_PORT>(std::atoi(argv[3])), std::atoi(argv[4]));
    if (mode == "batch" && argc == 3) return Batch(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: memory_per_link rows N | wininet HOST PORT N | batch N\n");
    return 2;
}
