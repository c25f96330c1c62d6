#pragma once

#include "platform/reporting/Report.h"

namespace quorvel::test {

// A report dataset of a given number of empty rows; at() tells which row the report stands on.
class CountedRows final : public reporting::ReportDataset {
public:
    explicit CountedRows(int count) : count_(count) {}
    void first() override { at_ = 0; }
    bool eof() const override { return at_ >= count_; }
    void next() override { ++at_; }
    int at() const { return at_; }

private:
    int count_;
    int at_ = 0;
};

} // namespace quorvel::test
