#pragma once

#include "PracticeWriter.h"

#include <cstdint>

namespace quorvel::practicedb {

// The hand-written rows of the tiny database (tests/fixtures/TinyPractice.h).
void writeTinyPractice(PracticeWriter& writer);

struct PracticeSize {
    int companies;
    int patients;
    int treatments;
    int firstYear; // treatments run from 1 January of this year to 31 December 2024
};

// A practice made up from a fixed seed: the same seed gives the same rows, byte for byte,
// because the generator draws only from std::mt19937, whose sequence the standard fixes
// (the standard's distributions are not fixed, so none is used).
void writeGeneratedPractice(PracticeWriter& writer, const PracticeSize& size, std::uint32_t seed);

} // namespace quorvel::practicedb
