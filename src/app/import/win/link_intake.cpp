#include "app/import/win/link_intake.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "app/run_state.h"
#include "app/handlers.h"
#include "app/import/item_kind.h"
#include "app/import/win/links_from_files.h"
#include "app/program_ids.h"
#include "app/start/command_line.h"
#include "app/state.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/window/control_access.h"
#include "submit/links/link_tidy.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

ListListener listener;

// Questions and dialogs holding the list now; the GUI thread's own.
int holds = 0;

Text MagnetOfItem(const FileName& item) {
    const Bytes gbk = Utf16BytesToGbk(Bytes(item.units(), item.length() * sizeof(char16_t)));
    return Text(reinterpret_cast<const char*>(gbk.data()), gbk.size());
}

void AppendAll(TextArray& list, const TextArray& links) {
    for (int i = 1; i <= links.count(); ++i)
        list.append(Text(links.at(i)));
}

} // namespace

TextArray LinksOfItems(const FileNames& items) {
    TextArray links;
    std::vector<FileFailure> failures;
    for (const FileName& item : items) {
        const ItemKind kind = KindOfItem(item, LookOnDisk);
        if (kind == ItemKind::kMagnetLink) {
            links.append(MagnetOfItem(item));
        } else if (kind == ItemKind::kBareHash) {
            links.append(BareHashItemMagnet(item));
        } else if (kind != ItemKind::kNothing) {
            LinksAndFailures got = LinksFromFiles(FileNames{item});
            AppendAll(links, got.links);
            for (FileFailure& failure : got.failures)
                failures.push_back(std::move(failure));
        }
    }
    ShowFileFailures(failures);
    return links;
}

void AddLinks(const TextArray& links) {
    if (links.empty()) return;
    if (IsBatchRunning() || holds > 0) {
        TheRun().KeepWaiting(links);
        ShowLinkCount(concat_text({"（待加入", to_text(TheRun().WaitingCount()), "条）"}));
        return;
    }
    const int added = AppendNewLinks(LinkList, links);
    ListOutcomes.Extend(added);
    ShowLinkCount(concat_text({"（新增", to_text(added), "条）"}));
    if (added > 0 && listener.joined) listener.joined();
}

void JoinWaitingLinks() {
    AddLinks(TheRun().TakeWaiting());
}

void HoldIntake() {
    ++holds;
}

void ReleaseIntake() {
    if (--holds == 0 && !IsBatchRunning()) JoinWaitingLinks();
}

void ListenToList(ListListener heard) {
    listener = heard;
}

void ListReplaced() {
    if (listener.replaced) listener.replaced();
}

bool TakeForwardedItems(const char16_t* units, size_t count) {
    if (!IsWholeForward(units, count)) return false;
    AddLinks(LinksOfItems(ForwardedItems(units, count)));
    return true;
}

void ShowLinkCount(TextRef after) {
    kLinkCountLabel.SetText(concat_text({"共", to_text(element_count(LinkList)), "条链接", after}).c_str());
}

} // namespace brindor::app
