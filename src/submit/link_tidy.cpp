#include "submit/link_tidy.h"

namespace brindor {

TextArray TidyLinks(const TextArray& links, const LinkRecord& record, const InfoHashSet& succeeded_elsewhere,
                    TidyCounts& counts) {
    counts = TidyCounts{};
    InfoHashSet seen;
    TextArray kept;
    for (int i = 1; i <= links.count(); ++i) {
        const char* link = links.at(i);
        if (!IsMagnetLink(link)) {
            ++counts.not_links;
            continue;
        }
        InfoHash hash{};
        const bool hashed = ReadInfoHash(link, hash);
        const bool succeeded_here = i <= record.count() && record.state(i) == LinkState::kSucceeded;
        if (succeeded_here || (hashed && succeeded_elsewhere.count(hash))) {
            ++counts.succeeded;
            if (hashed) seen.insert(hash);
            continue;
        }
        if (hashed && !seen.insert(hash).second) {
            ++counts.repeated;
            continue;
        }
        kept.append(Text(link));
    }
    counts.remaining = kept.count();
    return kept;
}

} // namespace brindor
