#include "submit/links/link_tidy.h"

#include <unordered_set>

namespace brindor {

namespace {

ListPlace PlaceLink(int i, const char* link, const LinkOutcomes& outcomes, SubmittedTorrents& earlier,
                    std::unordered_set<InfoHash, InfoHashHasher>& seen) {
    if (!IsMagnetLink(link)) return ListPlace::kNotLink;
    InfoHash hash{};
    const bool hashed = ReadInfoHash(link, hash);
    const LinkState here = i <= outcomes.count() ? outcomes.state(i) : LinkState::kNotSubmitted;
    if (here == LinkState::kSucceeded || (hashed && earlier.Succeeded(hash))) {
        if (hashed) seen.insert(hash);
        return ListPlace::kSucceeded;
    }
    if (hashed && !seen.insert(hash).second) return ListPlace::kRepeated;
    if (here == LinkState::kUnknown || (hashed && earlier.OutcomeUnknown(hash))) return ListPlace::kUnknown;
    return ListPlace::kRest;
}

} // namespace

std::vector<ListPlace> PlaceLinks(const TextArray& links, const LinkOutcomes& outcomes,
                                  SubmittedTorrents& earlier, ListCounts& counts) {
    counts = ListCounts{};
    std::unordered_set<InfoHash, InfoHashHasher> seen;
    seen.reserve(links.count());
    std::vector<ListPlace> places;
    places.reserve(links.count());
    for (int i = 1; i <= links.count(); ++i) {
        const ListPlace place = PlaceLink(i, links.at(i), outcomes, earlier, seen);
        places.push_back(place);
        int* const tallies[] = {&counts.rest, &counts.not_links, &counts.succeeded, &counts.repeated,
                                &counts.unknown};
        ++*tallies[static_cast<int>(place)];
    }
    return places;
}

LinkPositions RestPositions(const std::vector<ListPlace>& places) {
    LinkPositions positions;
    for (size_t i = 0; i < places.size(); ++i)
        if (places[i] == ListPlace::kRest) positions.push_back(static_cast<int>(i) + 1);
    return positions;
}

TextArray TidyLinks(const TextArray& links, const LinkOutcomes& outcomes, SubmittedTorrents& earlier,
                    ListCounts& counts) {
    const std::vector<ListPlace> places = PlaceLinks(links, outcomes, earlier, counts);
    TextArray kept;
    for (int i = 1; i <= links.count(); ++i)
        if (places[i - 1] == ListPlace::kRest || places[i - 1] == ListPlace::kUnknown)
            kept.append(Text(links.at(i)));
    return kept;
}

int AppendNewLinks(TextArray& list, const TextArray& links) {
    std::unordered_set<InfoHash, InfoHashHasher> held;
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
