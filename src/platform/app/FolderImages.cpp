#include "platform/app/FolderImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace quorvel {
namespace {

const QColor outline(150, 110, 20);

QLinearGradient vertical(qreal top, qreal bottom, const QColor& light, const QColor& dark)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return gradient;
}

// The folder's back with its tab; darker when the folder is open, as its inside shows.
void paintBack(QPainter& p, FolderState state)
{
    const QPolygonF back{{1.5, 2.5}, {6.0, 2.5}, {7.5, 4.0}, {14.5, 4.0}, {14.5, 13.5}, {1.5, 13.5}};
    p.setPen(QPen(outline, 1.0));
    if (state == FolderState::Closed)
        p.setBrush(vertical(2.5, 13.5, QColor(255, 240, 170), QColor(230, 180, 45)));
    else
        p.setBrush(vertical(2.5, 13.5, QColor(225, 175, 70), QColor(170, 120, 20)));
    p.drawPolygon(back);
}

void paintFront(QPainter& p, FolderState state)
{
    if (state == FolderState::Closed) {
        // The closed folder shows its front flap as a highlight along the top.
        p.setPen(QPen(QColor(255, 250, 215), 1.0));
        p.drawLine(QPointF(2.5, 5.5), QPointF(13.5, 5.5));
        return;
    }
    const QPolygonF flap{{4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {0.5, 13.5}};
    p.setPen(QPen(outline, 1.0));
    p.setBrush(vertical(7.5, 13.5, QColor(255, 245, 185), QColor(245, 200, 70)));
    p.drawPolygon(flap);
}

// The blue arrow that curves up out of the folder and points right: "go into this database".
void paintArrow(QPainter& p)
{
    QPainterPath shaft;
    shaft.moveTo(6.0, 14.0);
    shaft.quadTo(6.0, 8.5, 10.5, 8.5);
    const QPolygonF head{{10.0, 5.5}, {14.5, 8.5}, {10.0, 11.5}};

    // A light rim keeps the arrow readable on the yellow.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 220), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shaft);
    p.setBrush(QColor(255, 255, 255, 220));
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(head);

    const QColor blue(20, 80, 200);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(blue, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shaft);
    p.setBrush(blue);
    p.setPen(QPen(blue, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(head);
}

} // namespace

QPixmap folderImage(FolderState state, qreal devicePixelRatio)
{
    const int side = qRound(16 * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paintBack(p, state);
    paintFront(p, state);
    paintArrow(p);
    return pixmap;
}

QIcon folderIcon(FolderState state)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        // The same picture for the selected mode, so that views do not tint it.
        const QPixmap image = folderImage(state, ratio);
        icon.addPixmap(image, QIcon::Normal);
        icon.addPixmap(image, QIcon::Selected);
    }
    return icon;
}

} // namespace quorvel
