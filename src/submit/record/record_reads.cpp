#include "submit/record/record_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace brindor {

Found RecordStore::FindUnfinished(const RunIsLive& live, UnfinishedRun& found, TextRef user_id) {
    if (!Reopen()) return Found::kUnreadable;
    Transaction reading(db_, Transaction::kRead);
    Statement runs = db_.Prepare("SELECT id, owner FROM runs WHERE ended = 0 AND answered = 0 "
                                 "AND (?1 = '' OR user_id IN (?1, '')) ORDER BY id DESC");
    runs.Bind(1, user_id);
    while (runs.Step()) {
        const int64_t id = runs.Integer(0);
        if (live(runs.TextAt(1))) continue;
        found = UnfinishedRun{};
        found.id = id;
        Statement links =
            db_.Prepare("SELECT link, state, title FROM links WHERE run_id = ?1 ORDER BY number");
        links.Bind(1, id);
        while (links.Step()) {
            ++found.total;
            const int64_t state = links.Integer(1);
            if (state == static_cast<int>(LinkState::kNotSubmitted)) {
                found.rest.append(Shown(links.TextAt(0)));
                continue;
            }
            ++found.processed;
            if (state == static_cast<int>(LinkState::kSucceeded)) {
                ++found.succeeded;
            } else if (state == static_cast<int>(LinkState::kFailed)) {
                ++found.failed;
                found.rest.append(Shown(links.TextAt(0)));
            } else {
                found.unknown.append(Shown(links.TextAt(0)));
                found.unknown_titles.append(Shown(links.TextAt(2)));
            }
        }
        if (links.error()) return Failed(links.error()), Found::kUnreadable;
        return Found::kYes;
    }
    if (runs.error()) return Failed(runs.error()), Found::kUnreadable;
    return Found::kNo;
}

bool RecordStore::ForEachLink(const std::function<void(const RecordedLink&)>& visit) {
    if (!Reopen()) return false;
    Transaction reading(db_, Transaction::kRead);
    Statement links = db_.Prepare("SELECT runs.started, links.number, links.title, links.size, links.link, "
                                  "links.state, links.reason FROM links JOIN runs ON runs.id = links.run_id "
                                  "ORDER BY links.run_id, links.number");
    RecordedLink link;
    while (links.Step()) {
        link.started = Shown(links.TextAt(0));
        link.number = static_cast<int>(links.Integer(1));
        link.title = Shown(links.TextAt(2));
        link.size = Shown(links.TextAt(3));
        link.link = Shown(links.TextAt(4));
        const int64_t state = links.Integer(5);
        // A state of a newer build is as doubtful as an unknown outcome.
        link.state = state >= 0 && state <= static_cast<int>(LinkState::kUnknown)
                         ? static_cast<LinkState>(state)
                         : LinkState::kUnknown;
        link.reason = Shown(links.TextAt(6));
        visit(link);
    }
    return !links.error() || Failed(links.error());
}

Found RecordStore::Ask(Statement& query, TextRef user_id, const InfoHash& hash) {
    if (!Reopen()) return Found::kUnreadable;
    query.Reset();
    query.Bind(1, user_id);
    query.BindBlob(2, hash.data(), static_cast<int>(hash.size()));
    const bool row = query.Step();
    const int error = query.error();
    query.Reset();
    if (error) return Failed(error), Found::kUnreadable;
    return row ? Found::kYes : Found::kNo;
}

Found RecordStore::Succeeded(TextRef user_id, const InfoHash& hash) {
    return Ask(succeeded_, user_id, hash);
}

Found RecordStore::OutcomeUnknown(TextRef user_id, const InfoHash& hash) {
    return Ask(unknown_, user_id, hash);
}

bool RecordStore::LoadTorrents(TextRef user_id, TorrentSet& succeeded, TorrentSet& unknown) {
    if (!Reopen()) return false;
    Statement made = db_.Prepare("SELECT hash FROM succeeded WHERE user_id IN (?1, '')");
    Statement doubt = db_.Prepare("SELECT links.hash FROM links JOIN runs ON runs.id = links.run_id "
                                  "WHERE links.state > 2 AND links.hash IS NOT NULL "
                                  "AND COALESCE(links.user_id, runs.user_id) IN (?1, '')");
    for (auto [query, into] : {std::pair{&made, &succeeded}, std::pair{&doubt, &unknown}}) {
        query->Bind(1, user_id);
        InfoHash hash{};
        while (query->Step())
            if (query->BlobAt(0, hash.data(), hash.size())) into->push_back(hash);
        if (query->error()) return Failed(query->error());
        std::sort(into->begin(), into->end());
    }
    return true;
}

namespace {

// Below this many lookups a query each is quicker than reading every torrent of the user.
constexpr int kLoadAllFrom = 50000;
// From this many lookups pages are read through a mapping rather than a system call each; the
// mapping lasts as long as the connection.
constexpr int kMapFrom = 1000;

} // namespace

StoredTorrents::StoredTorrents(RecordStore& store, TextRef user_id, int lookups,
                               const std::atomic<bool>* cancel)
    : store_(store), user_id_(user_id.c_str()), cancel_(cancel),
      error_(store.Reopen() ? 0 : (store.error() ? store.error() : SQLITE_CANTOPEN)),
      reading_(store.database(), Transaction::kRead) {
    if (error_) return;
    if (lookups >= kMapFrom) store.database().Execute("PRAGMA mmap_size = 268435456");
    if (lookups < kLoadAllFrom) return;
    loaded_ = store.LoadTorrents(user_id_, succeeded_, unknown_);
    if (!loaded_) error_ = store.error() ? store.error() : SQLITE_ERROR;
}

bool StoredTorrents::Succeeded(const InfoHash& hash) {
    if (Cancelled() || error_) return true;
    return loaded_ ? std::binary_search(succeeded_.begin(), succeeded_.end(), hash)
                   : Held(store_.Succeeded(user_id_, hash));
}

bool StoredTorrents::OutcomeUnknown(const InfoHash& hash) {
    if (Cancelled() || error_) return true;
    return loaded_ ? std::binary_search(unknown_.begin(), unknown_.end(), hash)
                   : Held(store_.OutcomeUnknown(user_id_, hash));
}

bool StoredTorrents::Held(Found found) {
    if (found != Found::kUnreadable) return found == Found::kYes;
    if (!error_) error_ = store_.error() ? store_.error() : SQLITE_ERROR;
    return true;
}

} // namespace brindor
