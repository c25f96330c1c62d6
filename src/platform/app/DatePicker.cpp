#include "platform/app/DatePicker.h"

#include "platform/regional/RegionalSettings.h"

namespace quorvel {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    // The same short date format as the report's period line.
    setDisplayFormat(RegionalSettings::fromSystem().shortDateFormat);
    // As wide a range as a date can hold: the picker sets no limits of its own.
    setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    setTimeSpec(Qt::LocalTime);
    // A whole day: whatever sets a time of day, the picker keeps midnight.
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& value) {
        if (value.time() != QTime(0, 0))
            setDateTime(QDateTime(value.date(), QTime(0, 0)));
    });
}

} // namespace quorvel
