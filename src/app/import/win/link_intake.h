// Links from anywhere but the import button (a start's command line, a second start, a drop, a
// paste) join the end of the list, skipping torrents it holds already. During a run, a question or a
// dialog they wait and join when it ends; no run starts unless 自动开始提交 is on.
#pragma once
#include <cstddef>

#include "runtime/core/file_name.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

// Magnet links, bare info-hashes, and existing .txt and .torrent files and folders of torrents, in
// order; any other item is left out. Files that could not be read are named in one box.
TextArray LinksOfItems(const FileNames& items);

void AddLinks(const TextArray& links);
// The links that waited for the run's end; on the GUI thread once the run no longer counts as running.
void JoinWaitingLinks();
// Around a question or a dialog whose answer may replace the list: what arrives meanwhile waits, and
// joins at the last release unless a run still holds it. Nests.
void HoldIntake();
void ReleaseIntake();
class IntakeHeld {
  public:
    IntakeHeld() { HoldIntake(); }
    ~IntakeHeld() { ReleaseIntake(); }
    IntakeHeld(const IntakeHeld&) = delete;
    IntakeHeld& operator=(const IntakeHeld&) = delete;
};

// Who hears that links joined the list or that the list was replaced (自动开始提交 does); set once.
struct ListListener {
    void (*joined)() = nullptr;
    void (*replaced)() = nullptr;
};
void ListenToList(ListListener listener);
// The list was replaced as a whole.
void ListReplaced();

// The main window's WM_COPYDATA from a second start; false for a message cut short.
bool TakeForwardedItems(const char16_t* units, size_t count);

// 标签_磁力链接数: "共", the list's count, "条链接" and `after`.
void ShowLinkCount(TextRef after = "。");

} // namespace brindor::app
