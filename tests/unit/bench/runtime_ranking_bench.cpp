// Benchmark (not a test; run by scripts/bench-discovery): the time to rank
// 10,000 and 100,000 runtime candidates, and of a whole registry pass over an
// in-memory registry of as many versions, with and without a record.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "runtime/registry_search.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

// prepare runs before each round, outside the time taken.
template <typename Prepare, typename Work>
double bestMilliseconds(int rounds, Prepare prepare, Work work) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

std::vector<RuntimeCandidate> randomCandidates(std::size_t count) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> part(0, 30);
    std::vector<RuntimeCandidate> candidates(count);
    for (std::size_t i = 0; i < count; ++i) {
        candidates[i].version.components = {1, part(random), part(random), part(random)};
        candidates[i].home = Text::fromUtf8("C:\\Program Files\\Java\\jre" + std::to_string(i) + "\\");
        candidates[i].isServer = part(random) % 2 == 0;
        candidates[i].favoured = part(random) % 3 != 0;
    }
    return candidates;
}

void rankingBench(std::size_t count) {
    const auto candidates = randomCandidates(count);
    const TextList preferred = {u"1.31"_t, u"1.7"_t};  // the first matches nothing
    std::vector<RuntimeCandidate> sorted;
    const double ms = bestMilliseconds(5, [&] { sorted = candidates; }, [&] {
        sortCandidates(sorted, {true, true});
        volatile std::size_t chosen = chooseCandidate(sorted, preferred).index;
        (void)chosen;
    });
    std::printf("  rank %7zu candidates:                 %8.2f ms (stable sort, preferred choice)\n", count, ms);
}

void searchBench(std::size_t count) {
    FakeRegistry registry;
    FakeFiles files;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> part(0, 99);
    for (std::size_t i = 0; i < count; ++i) {
        const Text home = Text::fromUtf8("C:\\jre" + std::to_string(i));
        const std::string version = "1." + std::to_string(part(random)) + ".0_" + std::to_string(i);
        registry.put(RegistryView::Native, u"Software\\JavaSoft\\Java Runtime Environment\\"_t + Text::fromUtf8(version),
                     u"JavaHome"_t, home);
        files.add(home + u"\\bin\\server\\jvm.dll");
    }
    RuntimeConstraints constraints;
    constraints.preferredVersions = {u"1.50"_t};
    const auto nothing = [] {};
    const double plain = bestMilliseconds(3, nothing, [&] {
        searchRegistry(RegistryView::Native, constraints, registry, files);
    });
    const double recorded = bestMilliseconds(3, nothing, [&] {
        RegistryPassRecord record;
        searchRegistry(RegistryView::Native, constraints, registry, files, &record);
    });
    std::printf("  search %6zu in-memory versions:        %8.2f ms, with a record %.2f ms\n", count, plain, recorded);
}

} // namespace

int main() {
    std::printf("ranking on Linux (best of several rounds)\n");
    for (const std::size_t count : {10000u, 100000u}) rankingBench(count);
    for (const std::size_t count : {10000u, 100000u}) searchBench(count);
    return 0;
}
