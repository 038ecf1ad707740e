#pragma once
// Deterministic input mutation for the robustness runs.
#include <cstdint>
#include <string>
#include <vector>

namespace robustness {

class Mutator {
public:
    explicit Mutator(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ULL) {}

    uint32_t Next();
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }

    // One to four byte-level mutations: bit flips, interesting bytes and
    // integers, deleted, duplicated or moved chunks, truncation.
    std::string Mutate(const std::string& seed);
    // As Mutate, plus markup tokens inserted at random places.
    std::string MutateMarkup(const std::string& seed);

private:
    void MutateOnce(std::string* data);
    uint64_t state_;
};

}  // namespace robustness
