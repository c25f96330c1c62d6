#pragma once

#include "Workload.h"

#include <QString>

namespace quorvel::bench {

// Qt's own Firebird driver (QIBASE), used as a Qt program would: a query per statement,
// forward only, every row fetched and every column read as a QVariant.
class QtDriver {
public:
    explicit QtDriver(const Target& target);
    ~QtDriver();
    QtDriver(const QtDriver&) = delete;
    QtDriver& operator=(const QtDriver&) = delete;

    // Each statement in a transaction of its own; the driver has one transaction at a time,
    // so each commits before the next starts, untimed like the others' commits.
    double run(const std::vector<Statement>& statements, Digest& digest);

private:
    QString name_;
};

} // namespace quorvel::bench
