// QuickRep1: one A4 page with a title band, a detail band of twelve figures and an
// empty page footer. One row per element, as the layout is drawn up.
#include "report/TfrmReport.h"

#include "platform/firebird/Query.h"
#include "platform/reporting/Generator.h"
#include "platform/reporting/Painter.h"
#include "platform/reporting/Preview.h"
#include "platform/reporting/Report.h"

#include <utility>

namespace quorvel {
namespace {

using reporting::Band;
using reporting::Element;

// The report's rows are those of the company query: one aggregate row.
class QueryRows final : public reporting::ReportDataset {
public:
    explicit QueryRows(fb::Query& query) : query_(query) {}
    void first() override {} // an opened query already stands on its first row
    bool eof() const override { return !query_.isOpen() || query_.eof(); }
    void next() override { query_.next(); }

private:
    fb::Query& query_;
};

QFont arial(int points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

enum Weight { Regular, Bold };

Element label(const char* name, double left, double top, double width, const char* caption, Qt::Alignment align,
              Element::SizeRule rule, Weight weight = Regular, int points = 10)
{
    Element e;
    e.name = QString::fromLatin1(name);
    e.kind = Element::Label;
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = 4.50;
    e.caption = QString::fromUtf8(caption);
    e.alignment = align;
    e.sizeRule = rule;
    e.font = arial(points, weight == Bold);
    return e;
}

Element data(const char* name, double left, double top, std::function<QString()> text, Weight weight = Regular)
{
    Element e = label(name, left, top, 18.52, "", Qt::AlignRight, Element::Fixed, weight);
    e.kind = Element::DataText;
    e.dataText = std::move(text);
    return e;
}

constexpr auto Left = Qt::AlignLeft;
constexpr auto Right = Qt::AlignRight;
constexpr auto Auto = Element::AutoSize;
constexpr auto Fixed = Element::Fixed;
constexpr auto Stretch = Element::FixedStretch;

} // namespace

void TfrmReport::defineReport()
{
    QuickRep1 = std::make_unique<reporting::Report>();
    reporting::Report& r = *QuickRep1;
    r.paperSize = QSizeF(210, 297);
    r.margins = QMarginsF(10, 10, 10, 10);
    r.printIfEmpty = true;
    dataset_ = std::make_unique<QueryRows>(*IBQuery1);
    r.dataset = dataset_.get();
    r.beforePrint = [this](bool& printReport) { QuickRep1BeforePrint(printReport); };

    auto step = [this](void (TfrmReport::*handler)(QString&)) {
        return [this, handler](QString& value) { (this->*handler)(value); };
    };
    auto count = [](fb::Query& q, const char* column) {
        return [&q, column] { return q.fieldByName(QString::fromLatin1(column)).displayText(); };
    };
    auto money = [this](fb::Query& q) { return [this, &q] { return subtotalText(q); }; };

    Band title{QStringLiteral("TitleBand1"), Band::Title, 87.31, {}};
    title.elements = {
        //    name         left  top    width   caption                                   align size  weight   pt
        label("QRLabel10", 2.91, 6.61, 86.78, "Quorvel Report for Insurance Activity", Left, Auto, Regular, 14),
        label("QRLabel11", 2.91, 25.14, 11.11, "Period:", Left, Auto),
        label("QRLabel12", 2.91, 37.31, 178.59, "QRLabel12", Left, Stretch),
        label("QRLabel13", 2.91, 64.82, 177.80, "QRLabel13", Left, Stretch),
    };
    title.elements[0].height = 6.09;
    title.elements[1].onPrint = step(&TfrmReport::QRLabel11Print);
    title.elements[2].onPrint = step(&TfrmReport::QRLabel12Print);
    title.elements[3].onPrint = step(&TfrmReport::QRLabel13Print);

    Band detail{QStringLiteral("DetailBand1"), Band::Detail, 42.60, {}};
    detail.elements = {
        //   name          left    top    source / width, caption            align  size   weight
        data("QRDBText1", 41.28, 6.09, count(*IBQuery1, "NUM")),
        data("QRDBText2", 41.28, 13.76, count(*IBQuery1, "NUMACCOUNTS")),
        data("QRDBText3", 41.28, 30.43, money(*IBQuery1), Bold),
        label("QRLabel1", 2.91, 6.09, 34.40, "Number of treatments:", Left, Auto),
        label("QRLabel2", 2.91, 13.76, 31.49, "Number Of Patients:", Left, Auto),
        label("QRLabel3", 2.91, 30.43, 34.13, "Value of treatments:", Left, Auto, Bold),
        label("QRLabel4", 76.46, 6.09, 23.55, "GP Treatments", Left, Auto),
        label("QRLabel5", 76.46, 14.02, 19.84, "GP Referrals", Left, Auto),
        label("QRLabel6", 76.46, 30.43, 11.11, "Value:", Left, Auto, Bold),
        data("QRDBText4", 103.98, 6.09, count(*IBQuery2, "NUM")),
        data("QRDBText5", 103.98, 14.02, count(*IBQuery2, "NUMACCOUNTS")),
        data("QRDBText6", 103.98, 30.43, money(*IBQuery2), Bold),
        label("QRLabel7", 132.82, 6.09, 28.58, "Cons. Treatments:", Left, Auto),
        label("QRLabel8", 132.82, 14.02, 23.81, "Cons. Referrals", Left, Auto),
        label("QRLabel9", 132.82, 30.43, 11.11, "Value:", Left, Auto, Bold),
        data("QRDBText7", 165.10, 6.09, count(*IBQuery3, "NUM")),
        data("QRDBText8", 165.10, 14.02, count(*IBQuery3, "NUMACCOUNTS")),
        data("QRDBText9", 165.10, 30.43, money(*IBQuery3), Bold),
        label("QRLabel14", 2.91, 22.23, 25.14, "Avg Treatments:", Left, Auto),
        label("QRLabel15", 41.28, 22.23, 18.52, "", Right, Fixed),
        label("QRLabel16", 76.46, 22.23, 24.08, "Avg Treatments", Left, Auto),
        label("QRLabel17", 103.98, 22.23, 18.52, "", Right, Fixed),
        label("QRLabel18", 132.82, 22.23, 24.08, "Avg Treatments", Left, Auto),
        label("QRLabel19", 165.10, 22.23, 18.52, "", Right, Fixed),
    };
    using Handler = void (TfrmReport::*)(QString&);
    const std::pair<const char*, Handler> detailSteps[] = {
        {"QRDBText3", &TfrmReport::QRDBText3Print}, {"QRDBText6", &TfrmReport::QRDBText6Print},
        {"QRDBText9", &TfrmReport::QRDBText9Print}, {"QRLabel15", &TfrmReport::QRLabel15Print},
        {"QRLabel17", &TfrmReport::QRLabel17Print}, {"QRLabel19", &TfrmReport::QRLabel19Print},
    };
    for (Element& e : detail.elements)
        for (const auto& [name, handler] : detailSteps)
            if (e.name == QLatin1String(name))
                e.onPrint = step(handler);

    Band footer{QStringLiteral("PageFooterBand1"), Band::PageFooter, 10.58, {}};

    // Stored in the order the holder defines them; the band type decides the print order.
    r.bands = {detail, footer, title};
}

void TfrmReport::preview() { reporting::preview(*QuickRep1); }

void TfrmReport::generate(reporting::PageStore& store)
{
    reporting::generate(*QuickRep1, store, reporting::paperMetrics());
}

} // namespace quorvel
