#include "platform/reporting/Painter.h"

#include "platform/app/Error.h"

#include <QPainter>
#include <QPdfWriter>

namespace quorvel::reporting {

void paintPage(const Page& page, QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const double sx = device->logicalDpiX() / 25.4;
    const double sy = device->logicalDpiY() / 25.4;
    auto toDevice = [&](const QRectF& mm) {
        return QRectF(mm.left() * sx, mm.top() * sy, mm.width() * sx, mm.height() * sy);
    };
    painter.save();
    for (const PageItem& item : page.items) {
        if (item.kind == PageItem::Box) {
            painter.fillRect(toDevice(item.rect), item.colour);
        } else {
            painter.setFont(item.font);
            painter.setPen(Qt::black);
            painter.drawText(toDevice(item.rect), int(item.alignment | Qt::AlignTop | Qt::TextDontClip), item.text);
        }
    }
    painter.restore();
}

void writePdf(const PageStore& store, const QString& fileName)
{
    QPdfWriter writer(fileName);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Quorvel Insurance Statistics"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw Error(QStringLiteral("Cannot write the file \"%1\"").arg(fileName));
    for (int i = 0; i < store.pageCount(); ++i) {
        if (i > 0)
            writer.newPage();
        paintPage(store.pages[i], painter);
    }
    painter.end();
}

} // namespace quorvel::reporting
