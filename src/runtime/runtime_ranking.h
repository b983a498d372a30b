#pragma once
// The order of the runtimes one registry pass found, and the choice among them.

#include <cstddef>
#include <optional>
#include <vector>

#include "common/text.h"
#include "runtime/java_version.h"

struct RuntimeCandidate {
    JavaVersion version;
    Text home;              // ends in a backslash
    bool isServer = false;  // the library found for it is a server JVM
    bool favoured = false;  // its kind and provider are the favoured ones
};

struct RankingOptions {
    bool favourKind = true;
    bool favourServer = false;  // "JVM Type" is favor_server
};

// The rules that order candidates, in the order they are tried. SearchOrder
// means that none separates two candidates: they keep the order they were found in.
enum class RankingRule { Favoured, ServerJvm, HigherVersion, SearchOrder };

struct Separation {
    RankingRule rule;
    bool firstGoesFirst;  // meaningless for SearchOrder
};

// The first rule that separates two candidates, and which way.
Separation separate(const RuntimeCandidate& first, const RuntimeCandidate& second, RankingOptions options);

// Stable: candidates no rule separates keep their search order.
void sortCandidates(std::vector<RuntimeCandidate>& candidates, RankingOptions options);

struct CandidateChoice {
    std::size_t index = 0;  // into the sorted list
    // The "Preferred versions" entry that matched it, or none when the
    // list is empty or no entry matched and the first candidate was taken.
    std::optional<std::size_t> preferredEntry;
};

// Each preferred entry in turn takes the first sorted candidate it matches;
// without a match the first candidate is taken. The list must not be empty.
CandidateChoice chooseCandidate(const std::vector<RuntimeCandidate>& sorted, const TextList& preferredVersions);
