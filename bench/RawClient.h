#pragma once

#include "Workload.h"

#include <memory>
#include <vector>

namespace quorvel::bench {

// The bare Firebird client on its object API, as a small hand-written program would use
// it: attach, start a transaction, prepare, bind, fetch every row and read every column.
// Nothing of ours is in the way, so the difference to our layer is our layer.
class RawClient {
public:
    explicit RawClient(const Target& target);
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    // Runs each statement in a transaction of its own, all of them open together as the
    // program's are. Timed from the first start to the last value read; the commits after
    // it are not, as the program commits only when the lists or the report close.
    double run(const std::vector<Statement>& statements, Digest& digest);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

} // namespace quorvel::bench
