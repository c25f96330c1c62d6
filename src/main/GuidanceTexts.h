#pragma once

#include <QString>

namespace quorvel::guidance {

// The guidance shown beside each wizard page, one per page, without line breaks:
// the memo wraps them to its width.
inline const QString page1 = QStringLiteral(
    "This wizard will guide you through grouping your data together to provide meaningful statistics. "
    "On this page please select the insurance company you are interested in.You may have more than one "
    "instance of an insurance company so please tick all that apply and then click Next");
inline const QString page2 = QStringLiteral(
    "In this screen, please select ALL data that is classified as a GP referral. You may have multiple "
    "records (such as separate GP names) so please select all that apply and then click Next");
inline const QString page3 = QStringLiteral(
    "Here, please select all referrals that can be classified as consultant. You may have multiple "
    "records that constitue a consultant referral (such as separate consultant names) so please select "
    "all that apply and click Next");
inline const QString page4 = QStringLiteral(
    "Finally, please enter the date range you wish the statistics to be produced for then click \"Report\"");

} // namespace quorvel::guidance
