#include "submit/links/link_record.h"

namespace brindor {

void LinkOutcomes::Reset(int count) {
    states_.assign(count > 0 ? count : 0, LinkState::kNotSubmitted);
    reasons_.clear();
    reasons_.resize(states_.size());
    succeeded_ = failed_ = unknown_ = 0;
    touched_ = false;
}

void LinkOutcomes::Extend(int added) {
    if (added <= 0) return;
    states_.resize(states_.size() + added, LinkState::kNotSubmitted);
    reasons_.resize(states_.size());
}

int* LinkOutcomes::Counter(LinkState state) {
    switch (state) {
    case LinkState::kSucceeded:
        return &succeeded_;
    case LinkState::kFailed:
        return &failed_;
    case LinkState::kUnknown:
        return &unknown_;
    default:
        return nullptr;
    }
}

void LinkOutcomes::SetOutcome(int position, LinkState state, TextRef reason) {
    if (position < 1 || position > count()) return;
    LinkState& held = states_[position - 1];
    if (int* counter = Counter(held)) --*counter;
    held = state;
    if (int* counter = Counter(held)) ++*counter;
    reasons_[position - 1] = Text(reason.c_str());
    touched_ = true;
}

LinkPositions LinkOutcomes::Failed() const {
    LinkPositions positions;
    for (int i = 1; i <= count(); ++i)
        if (state(i) == LinkState::kFailed) positions.push_back(i);
    return positions;
}

LinkPositions LinkOutcomes::Unknown() const {
    LinkPositions positions;
    for (int i = 1; i <= count(); ++i)
        if (state(i) == LinkState::kUnknown) positions.push_back(i);
    return positions;
}

LinkPositions LinkOutcomes::NotSucceeded(bool unknown) const {
    LinkPositions positions;
    for (int i = 1; i <= count(); ++i)
        if (state(i) != LinkState::kSucceeded && (unknown || state(i) != LinkState::kUnknown))
            positions.push_back(i);
    return positions;
}

LinkPositions LinkOutcomes::All() const {
    LinkPositions positions(states_.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = static_cast<int>(i) + 1;
    return positions;
}

TextArray LinksAt(const TextArray& links, const LinkPositions& positions) {
    TextArray chosen;
    for (int position : positions)
        chosen.append(Text(links.at(position)));
    return chosen;
}

} // namespace brindor
