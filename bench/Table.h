#pragma once

#include "Samples.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvel::bench {

// One line of the results: our program's samples and, where there is one, the raw client's
// and Qt's driver's for the same work, with the budget it is held to.
struct Row {
    explicit Row(QString what) : measure(std::move(what)) {}
    QString measure;
    Samples ours, raw, qt;
    bool memory = false; // MiB rather than seconds
    QString budget;      // empty when none
    std::optional<bool> met;
};

// The rows as a Markdown table: medians, their noise (half the spread between the
// quartiles, relative to the median) and the ratios to the raw client (the median of the
// round-by-round ratios).
QString markdownTable(const std::vector<Row>& rows);

} // namespace quorvel::bench
