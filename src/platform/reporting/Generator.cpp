#include "platform/reporting/Generator.h"

#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>

#include <cmath>

namespace quorvel::reporting {

const Band* Report::band(Band::Type type) const
{
    for (const Band& b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

QList<PageItem> Page::texts(const QString& element) const
{
    QList<PageItem> found;
    for (const PageItem& item : items)
        if (item.kind == PageItem::Text && (element.isEmpty() || item.element == element))
            found << item;
    return found;
}

QString Page::plainText() const
{
    QStringList lines;
    for (const PageItem& item : texts())
        lines << item.text;
    return lines.join(QLatin1Char('\n'));
}

const QPaintDevice& paperMetrics()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = int(std::lround(1200 / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

namespace {

constexpr double tolerance = 1e-6; // mm: positions are sums of tabled values

// Measures text in millimetres with the metrics of the device it will be painted on.
class Measure {
public:
    explicit Measure(const QPaintDevice& device)
        : device_(device), mmPerDotX_(25.4 / device.logicalDpiX()), mmPerDotY_(25.4 / device.logicalDpiY())
    {
    }
    double width(const QFont& font, const QString& text) const
    {
        return QFontMetricsF(font, &device_).horizontalAdvance(text) * mmPerDotX_;
    }
    double lineHeight(const QFont& font) const { return QFontMetricsF(font, &device_).height() * mmPerDotY_; }

    // Greedy wrapping at spaces. Spaces inside a line are kept as they are; the spaces
    // where a line breaks are dropped. A word wider than the box stays whole on its line.
    QStringList wrap(const QFont& font, const QString& text, double maxWidth) const
    {
        QStringList lines;
        for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
            static const QRegularExpression token(QStringLiteral("( *)([^ ]+)"));
            QString line;
            auto it = token.globalMatch(paragraph);
            while (it.hasNext()) {
                const auto m = it.next();
                const QString candidate = line + m.captured(1) + m.captured(2);
                if (line.isEmpty() || width(font, candidate) <= maxWidth + tolerance) {
                    line = line.isEmpty() && !lines.isEmpty() ? m.captured(2) : candidate;
                } else {
                    lines << line;
                    line = m.captured(2);
                }
            }
            lines << line;
        }
        return lines;
    }

private:
    const QPaintDevice& device_;
    double mmPerDotX_, mmPerDotY_;
};

// A stretching label whose lines did not all fit on the page.
struct Unfinished {
    const Element* element;
    QStringList lines;
    int nextLine;
};

class Generation {
public:
    Generation(Report& report, PageStore& store, const QPaintDevice& device, const GenerationHooks& hooks)
        : report_(report), store_(store), measure_(device), hooks_(hooks)
    {
        footer_ = report.band(Band::PageFooter);
        const double footerHeight = footer_ ? footer_->height : 0;
        pageTop_ = report.margins.top();
        footerTop_ = report.paperSize.height() - report.margins.bottom() - footerHeight;
    }

    void run()
    {
        bool printReport = true;
        if (report_.beforePrint)
            report_.beforePrint(printReport);
        if (!printReport)
            return;
        startPage();
        ReportDataset* data = report_.dataset;
        if (data)
            data->first();
        if (stopped())
            return;
        if (const Band* title = report_.band(Band::Title))
            printBand(*title);
        if (const Band* detail = report_.band(Band::Detail)) {
            bool printed = false;
            while (data && !data->eof()) {
                if (stopped())
                    return;
                printBand(*detail);
                printed = true;
                data->next();
            }
            if (!printed && report_.printIfEmpty) {
                if (stopped())
                    return;
                printBand(*detail);
            }
        }
        finishPage();
    }

private:
    bool stopped()
    {
        if (hooks_.processEvents)
            hooks_.processEvents();
        return hooks_.cancelled && hooks_.cancelled();
    }

    Page& page() { return store_.pages.last(); }

    void startPage()
    {
        Page p;
        p.paperSize = report_.paperSize;
        store_.pages << p;
        y_ = pageTop_;
    }

    void finishPage()
    {
        if (footer_) {
            y_ = footerTop_;
            printElements(*footer_, footerTop_, /*paginate=*/false);
        }
        if (hooks_.pageFinished)
            hooks_.pageFinished(store_.pageCount() - 1);
    }

    void newPage()
    {
        finishPage();
        startPage();
    }

    QString textOf(const Element& e) const
    {
        if (e.kind == Element::Label)
            return e.caption;
        try {
            return e.dataText ? e.dataText() : QString();
        } catch (...) {
            return {}; // a display text that cannot be produced prints empty
        }
    }

    void addBox(const QRectF& rect, const QString& name)
    {
        PageItem box;
        box.kind = PageItem::Box;
        box.rect = rect;
        box.element = name;
        page().items << box;
    }

    void addLine(const Element& e, const QRectF& rect, const QString& text)
    {
        PageItem line;
        line.kind = PageItem::Text;
        line.rect = rect;
        line.element = e.name;
        line.text = text;
        line.font = e.font;
        line.alignment = e.alignment;
        page().items << line;
    }

    void printBand(const Band& band)
    {
        const double printable = footerTop_ - pageTop_;
        if (y_ + band.height > footerTop_ + tolerance && band.height <= printable + tolerance && y_ > pageTop_)
            newPage();
        QList<Unfinished> unfinished = printElements(band, y_, /*paginate=*/true);
        while (!unfinished.isEmpty()) {
            newPage();
            unfinished = continueLabels(band, unfinished);
        }
    }

    // Prints the band's elements with its top at `top`; returns the stretching labels
    // that ran out of page. Moves y_ below the band as printed, growth included.
    QList<Unfinished> printElements(const Band& band, double top, bool paginate)
    {
        const qsizetype bandBox = page().items.size();
        addBox(QRectF(report_.margins.left(), top, report_.paperSize.width() - report_.margins.left()
                                                        - report_.margins.right(), band.height),
               band.name);
        double growth = 0;
        QList<Unfinished> unfinished;
        for (const Element& e : band.elements) {
            QString text = textOf(e);
            if (e.onPrint)
                e.onPrint(text);
            const double left = report_.margins.left() + e.left;
            const double lineHeight = measure_.lineHeight(e.font);
            switch (e.sizeRule) {
            case Element::AutoSize: {
                const double width = measure_.width(e.font, text);
                addBox(QRectF(left, top + e.top, width, e.height), e.name);
                addLine(e, QRectF(left, top + e.top, width, lineHeight), text);
                break;
            }
            case Element::Fixed: {
                addBox(QRectF(left, top + e.top, e.width, e.height), e.name);
                const QStringList lines = measure_.wrap(e.font, text, e.width);
                for (int i = 0; i < lines.size() && (i + 1) * lineHeight <= e.height + tolerance; ++i)
                    addLine(e, QRectF(left, top + e.top + i * lineHeight, e.width, lineHeight), lines[i]);
                break;
            }
            case Element::FixedStretch: {
                const QStringList lines = measure_.wrap(e.font, text, e.width);
                const int stoppedAt = stretch(band, e, lines, 0, top, paginate, growth);
                if (stoppedAt < lines.size())
                    unfinished << Unfinished{&e, lines, stoppedAt};
                break;
            }
            }
        }
        page().items[bandBox].rect.setHeight(band.height + growth);
        y_ = top + band.height + growth;
        return unfinished;
    }

    // Lays out a stretching label's lines from `first` on. The band keeps one growth
    // figure for all its labels; each label has a limit, at first its box's bottom. A line
    // that would end below the limit grows the band by one line height, except the first
    // time for a label when the band has already grown by more than one line: then the
    // limit moves to the box's bottom plus that growth. Returns the index of the first line
    // not printed (all printed: lines.size()).
    int stretch(const Band& band, const Element& e, const QStringList& lines, int first, double top, bool paginate,
                double& growth)
    {
        const double left = report_.margins.left() + e.left;
        const double lineHeight = measure_.lineHeight(e.font);
        const double boxBottom = e.top + e.height;
        double limit = boxBottom;
        bool firstTime = true;
        const qsizetype box = page().items.size();
        addBox(QRectF(left, top + e.top, e.width, e.height), e.name);
        int i = first;
        for (; i < lines.size(); ++i) {
            const double lineTop = e.top + (i - first) * lineHeight;
            bool fits = true;
            while (lineTop + lineHeight > limit + tolerance) {
                double newGrowth = growth;
                if (!(firstTime && growth > lineHeight + tolerance))
                    newGrowth = growth + lineHeight;
                if (paginate && top + band.height + newGrowth > footerTop_ + tolerance) {
                    fits = false;
                    break;
                }
                growth = newGrowth;
                limit = boxBottom + growth;
                firstTime = false;
            }
            if (!fits)
                break;
            addLine(e, QRectF(left, top + lineTop, e.width, lineHeight), lines[i]);
        }
        page().items[box].rect.setHeight(std::max(e.height, limit - e.top));
        return i;
    }

    // The band again at the top of a new page, with only its unfinished labels.
    QList<Unfinished> continueLabels(const Band& band, const QList<Unfinished>& labels)
    {
        const double top = y_;
        const qsizetype bandBox = page().items.size();
        addBox(QRectF(report_.margins.left(), top,
                      report_.paperSize.width() - report_.margins.left() - report_.margins.right(), band.height),
               band.name);
        double growth = 0;
        QList<Unfinished> still;
        for (const Unfinished& u : labels) {
            const int stoppedAt = stretch(band, *u.element, u.lines, u.nextLine, top, true, growth);
            if (stoppedAt < u.lines.size() && stoppedAt > u.nextLine)
                still << Unfinished{u.element, u.lines, stoppedAt};
        }
        page().items[bandBox].rect.setHeight(band.height + growth);
        y_ = top + band.height + growth;
        return still;
    }

    Report& report_;
    PageStore& store_;
    Measure measure_;
    const GenerationHooks& hooks_;
    const Band* footer_ = nullptr;
    double pageTop_ = 0;
    double footerTop_ = 0;
    double y_ = 0;
};

} // namespace

void generate(Report& report, PageStore& store, const QPaintDevice& device, const GenerationHooks& hooks)
{
    store.clear();
    Generation(report, store, device, hooks).run();
}

} // namespace quorvel::reporting
