#pragma once

#include "Workload.h"

#include <QByteArray>

#include <vector>

namespace quorvel::bench {

// The statements as an isql script that shows each one's plan and the server's time for
// it: the program's own texts, with the values of their markers written in as literals
// (the texts' bytes kept as they are, so a Windows-1252 referral value still matches).
QByteArray isqlScript(const std::vector<Statement>& statements);

} // namespace quorvel::bench
