// 整理链接列表: the list without what needs no submitting.
#pragma once
#include <unordered_set>

#include "runtime/core/text_array.h"
#include "submit/info_hash.h"
#include "submit/link_record.h"

namespace brindor {

using InfoHashSet = std::unordered_set<InfoHash, InfoHashHasher>;

struct TidyCounts {
    int not_links = 0;
    int repeated = 0;
    int succeeded = 0;
    int remaining = 0;
};

// Keeps, in order, the magnet links that neither repeat an earlier link's torrent nor succeeded
// already: in `record` (of `links`) or among `succeeded_elsewhere`.
TextArray TidyLinks(const TextArray& links, const LinkRecord& record, const InfoHashSet& succeeded_elsewhere,
                    TidyCounts& counts);

// Appends to `list` the `links` whose torrent it does not hold yet (by info-hash; a link without one
// always joins), in order; returns how many joined.
int AppendNewLinks(TextArray& list, const TextArray& links);

} // namespace brindor
