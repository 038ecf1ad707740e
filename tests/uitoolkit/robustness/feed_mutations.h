#pragma once
// Feeds a target a run of mutated inputs and reports how many it took, how
// long the run was and which input was slowest, so a run that grows slow
// shows.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/uitoolkit/fixtures/stopwatch.h"

namespace robustness {

// Inputs per target: UITOOLKIT_MUTATIONS, else a short default that keeps
// the ordinary test run quick.
inline int MutationCount() {
    const char* v = getenv("UITOOLKIT_MUTATIONS");
    int n = v ? atoi(v) : 0;
    return n > 0 ? n : 10000;
}

// Feeds `count` inputs made by `make` to `feed` and reports the timing.
inline void FeedMutations(const char* target, int count, const std::function<std::string(int)>& make,
         const std::function<void(const std::string&)>& feed) {
    double slowest = 0;
    int slowestIndex = -1;
    const double start = fixtures::Seconds();
    for (int i = 0; i < count; ++i) {
        const std::string input = make(i);
        const double t0 = fixtures::Seconds();
        feed(input);
        const double took = fixtures::Seconds() - t0;
        if (took > slowest) {
            slowest = took;
            slowestIndex = i;
        }
    }
    const double total = fixtures::Seconds() - start;
    printf("%s: %d mutated inputs in %.2f s, slowest input #%d took %.1f ms\n", target, count, total, slowestIndex,
           slowest * 1000);
    fflush(stdout);
}

}  // namespace robustness
