// Where each link of a list stands against what was submitted before: the start question and
// 整理链接列表 both read this.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/core/text_array.h"
#include "submit/links/info_hash.h"
#include "submit/links/link_record.h"

namespace brindor {

// What earlier runs of the signed-in user made of a torrent.
class SubmittedTorrents {
  public:
    virtual ~SubmittedTorrents() = default;
    virtual bool Succeeded(const InfoHash& hash) = 0;
    virtual bool OutcomeUnknown(const InfoHash& hash) = 0;
};

enum class ListPlace : uint8_t { kRest, kNotLink, kSucceeded, kRepeated, kUnknown };

struct ListCounts {
    int not_links = 0;
    int repeated = 0;
    int succeeded = 0;
    int unknown = 0;
    int rest = 0;
};

// One place per link, in list order, judged by torrent: made already (in `outcomes` of `links` or
// before), a repeat of an earlier line, sent before with no readable answer, or the rest.
std::vector<ListPlace> PlaceLinks(const TextArray& links, const LinkOutcomes& outcomes,
                                  SubmittedTorrents& earlier, ListCounts& counts);

// Positions of the links in `places` that are the rest.
LinkPositions RestPositions(const std::vector<ListPlace>& places);

// 整理链接列表: keeps, in order, the links that are neither non-links, repeats nor made already.
TextArray TidyLinks(const TextArray& links, const LinkOutcomes& outcomes, SubmittedTorrents& earlier,
                    ListCounts& counts);

// Appends to `list` the `links` whose torrent it does not hold yet (by info-hash; a link without one
// always joins), in order; returns how many joined.
int AppendNewLinks(TextArray& list, const TextArray& links);

} // namespace brindor
