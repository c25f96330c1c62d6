#pragma once

#include "Workload.h"

#include <memory>
#include <vector>

namespace quorvel {
class TfrmReport;
namespace fb {
class Database;
}
} // namespace quorvel

namespace quorvel::bench {

// The report holder's before-print step on its own: the four statistics queries as the
// program opens them, on a fresh holder each time, as every Report press makes one.
class BeforePrintDriver {
public:
    BeforePrintDriver(fb::Database& db, const Selection& selection);

    // Times the step and the reading of the figures the report prints; freeing the holder,
    // which commits its transactions, is not timed.
    double run(Digest& digest);

    // The statements the step sent, with their values, read back from a holder's queries.
    std::vector<Statement> statements();

private:
    std::unique_ptr<TfrmReport> holder() const;

    fb::Database& db_;
    Selection selection_;
};

} // namespace quorvel::bench
