#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quorvel::criteria {

// "(" + each entry followed by "," with the last character then replaced by ")".
// An empty list gives ")": the "(" itself is replaced.
QString inList(const QStringList& entries);

// The IN-list entry of a company number: its decimal form.
QStringList companyEntries(const QList<qint32>& numbers);

// The IN-list entries of referral values: each in single quotes, inner quotes doubled.
QStringList referralEntries(const QStringList& values);

// A grid value read as text. A null value cannot be: it raises the conversion message
// the user sees ("Could not convert variant of type (Null) into type (String)").
QString textOf(const QVariant& value);

} // namespace quorvel::criteria
