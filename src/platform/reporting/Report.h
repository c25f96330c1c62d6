#pragma once

#include <QFont>
#include <QList>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

#include <functional>

namespace quorvel::reporting {

// The rows that drive the detail band. Only the report's own dataset is stepped; a
// data-bound text reads its text through its own callback.
class ReportDataset {
public:
    virtual ~ReportDataset() = default;
    virtual void first() = 0;
    virtual bool eof() const = 0;
    virtual void next() = 0;
};

// A printed element: a label with a fixed caption, or a data-bound text. Positions and
// sizes are millimetres from the band's top-left corner.
struct Element {
    enum Kind { Label, DataText };
    enum SizeRule {
        AutoSize,    // one unwrapped line; the box takes the text's width, growing to the right
        Fixed,       // wrapped within the box; lines beyond its height are dropped
        FixedStretch // wrapped, and the box grows downward as far as the text needs
    };

    QString name;
    Kind kind = Label;
    double left = 0, top = 0, width = 0, height = 0;
    QString caption;
    std::function<QString()> dataText; // an exception here prints an empty text, silently
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    SizeRule sizeRule = Fixed;
    // Called each time the element prints, with the text it would print; what it leaves
    // is printed. The caption itself never changes. Exceptions pass out.
    std::function<void(QString& value)> onPrint;
};

struct Band {
    enum Type { Title, Detail, PageFooter };
    QString name;
    Type type = Detail;
    double height = 0; // mm
    QList<Element> elements; // printed in this order
};

class Report {
public:
    QString title;
    QSizeF paperSize{210, 297};        // mm, portrait A4
    QMarginsF margins{10, 10, 10, 10}; // mm
    ReportDataset* dataset = nullptr;
    bool printIfEmpty = true;
    // Called at the start of every generation, before any band prints and before the
    // dataset is read. Clearing the flag generates nothing.
    std::function<void(bool& printReport)> beforePrint;
    QList<Band> bands; // any order: the type decides where a band prints

    const Band* band(Band::Type type) const;
};

} // namespace quorvel::reporting
