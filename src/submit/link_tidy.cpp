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

int AppendNewLinks(TextArray& list, const TextArray& links) {
    InfoHashSet held;
    InfoHash hash{};
    for (int i = 1; i <= list.count(); ++i)
        if (ReadInfoHash(list.at(i), hash)) held.insert(hash);
    int added = 0;
    for (int i = 1; i <= links.count(); ++i) {
        if (ReadInfoHash(links.at(i), hash) && !held.insert(hash).second) continue;
        list.append(Text(links.at(i)));
        ++added;
    }
    return added;
}

} // namespace brindor
