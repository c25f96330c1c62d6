#pragma once

#include <QStringList>

namespace quorvel {

// The batch report: the same report as the wizard's, through the same holder, before-print
// step and print steps, without a window. Returns the process's exit status: 0 on success,
// 2 for bad arguments (with the usage on standard error), 1 for any other failure (with the
// server's or the report's message). Writes no partial file.
int runBatchReport(const QStringList& arguments);

// True when the arguments ask for the batch report rather than the wizard.
bool wantsBatchReport(const QStringList& arguments);

} // namespace quorvel
