#pragma once

#include <QDateEdit>

namespace quorvel {

// A date picker holding one whole calendar date: the system's short date format, edited
// part by part or picked from a drop-down month calendar, no empty state and no limits.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);
};

} // namespace quorvel
