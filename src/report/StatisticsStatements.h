#pragma once

#include <QString>

namespace quorvel::statements {

// The company statement: insurance treatments in the period of the listed companies'
// patient accounts. Parameters: :date1, :date2.
QString company(const QString& companyInList);

// The referral statement: as the company statement, restricted to accounts whose
// referral is in the list.
QString referral(const QString& companyInList, const QString& referralInList);

// The whole-practice statement: all treatments of the period and the insurance ones.
// Its three date1 markers and three date2 markers are bound by name.
extern const QString wholePractice;

} // namespace quorvel::statements
