#include "runtime/runtime_ranking.h"

#include <algorithm>

Separation separate(const RuntimeCandidate& first, const RuntimeCandidate& second, RankingOptions options) {
    if (options.favourKind && first.favoured != second.favoured) return {RankingRule::Favoured, first.favoured};
    if (options.favourServer && first.isServer != second.isServer) return {RankingRule::ServerJvm, first.isServer};
    if (const int order = compare(first.version, second.version)) return {RankingRule::HigherVersion, order > 0};
    return {RankingRule::SearchOrder, false};
}

void sortCandidates(std::vector<RuntimeCandidate>& candidates, RankingOptions options) {
    std::stable_sort(candidates.begin(), candidates.end(), [options](const auto& a, const auto& b) {
        const Separation separation = separate(a, b, options);
        return separation.rule != RankingRule::SearchOrder && separation.firstGoesFirst;
    });
}

CandidateChoice chooseCandidate(const std::vector<RuntimeCandidate>& sorted, const TextList& preferredVersions) {
    for (std::size_t entry = 0; entry < preferredVersions.size(); ++entry) {
        JavaVersion preferred;
        preferred.parse(preferredVersions[entry], kMinimumFill);
        const auto match = std::find_if(sorted.begin(), sorted.end(), [&](const RuntimeCandidate& candidate) {
            return matchesPreferred(candidate.version, preferred);
        });
        if (match != sorted.end()) return {static_cast<std::size_t>(match - sorted.begin()), entry};
    }
    return {};
}
