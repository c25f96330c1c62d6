#pragma once

#include <QStringList>

namespace quorvel::bench {

// What a finished child process cost: its wall time from start to exit and its peak
// resident memory.
struct ChildCost {
    double seconds = 0;
    double peakMiB = 0;
};

// Runs `program` with `arguments` and the extra environment lines ("NAME=value") and
// waits for it. Its output is kept out of the table; a failure raises our error with the
// child's standard error.
ChildCost runChild(const QString& program, const QStringList& arguments, const QStringList& environment = {});

} // namespace quorvel::bench
