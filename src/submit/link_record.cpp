#include "submit/link_record.h"

namespace brindor {

void LinkRecord::Reset(int count) {
    states_.assign(count > 0 ? count : 0, LinkState::kNotSubmitted);
    reasons_.clear();
    reasons_.resize(states_.size());
    succeeded_ = failed_ = 0;
    touched_ = false;
}

void LinkRecord::Extend(int added) {
    if (added <= 0) return;
    states_.resize(states_.size() + added, LinkState::kNotSubmitted);
    reasons_.resize(states_.size());
}

void LinkRecord::SetOutcome(int position, bool succeeded, TextRef reason) {
    if (position < 1 || position > count()) return;
    LinkState& state = states_[position - 1];
    if (state == LinkState::kSucceeded) --succeeded_;
    if (state == LinkState::kFailed) --failed_;
    state = succeeded ? LinkState::kSucceeded : LinkState::kFailed;
    ++(succeeded ? succeeded_ : failed_);
    reasons_[position - 1] = Text(reason.c_str());
    touched_ = true;
}

LinkPositions LinkRecord::Failed() const {
    LinkPositions positions;
    for (int i = 1; i <= count(); ++i)
        if (state(i) == LinkState::kFailed) positions.push_back(i);
    return positions;
}

LinkPositions LinkRecord::NotSucceeded() const {
    LinkPositions positions;
    for (int i = 1; i <= count(); ++i)
        if (state(i) != LinkState::kSucceeded) positions.push_back(i);
    return positions;
}

LinkPositions LinkRecord::All() const {
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
