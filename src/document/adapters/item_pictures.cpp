#include "document/adapters/item_pictures.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QString>

namespace pelvoro {

namespace {

struct Badge {
    QColor color;
    QString text;
};

// Item pictures: a coloured tile with a short mark, one colour per item family.
Badge badgeFor(int index) {
    const QColor installation(0x2e, 0x6d, 0xb4), general(0x3a, 0x8f, 0x5c),
        second(0x8a, 0x5a, 0xb0), result(0xc0, 0x7a, 0x12);
    switch (index) {
        case 70:
            return {QColor(0x55, 0x55, 0x55), "OB"};
        case 10:
            return {installation, "DB"};
        case 11:
            return {installation, "LR"};
        case 12:
            return {installation, "PE"};
        case 13:
            return {installation, "F"};
        case 14:
            return {installation, "RCD"};
        case 15:
            return {installation, "E"};
        case 16:
            return {installation, "CE"};
        case 17:
            return {installation, "CM"};
        case 18:
            return {installation, "EA"};
        case 19:
            return {general, "FL"};
        case 20:
            return {general, "RM"};
        case 21:
            return {general, "TB"};
        case 71:
            return {installation, "CN"};
        case 22:
            return {QColor(0x90, 0x90, 0x90), "?"};
        case 23:
            return {result, "M"};
        case 62:
            return {result, "MG"};
        case 55:
            return {second, "SB"};
        case 42:
            return {second, "C"};
        case 43:
            return {second, "M"};
        case 44:
            return {second, "W"};
        case 45:
            return {second, "O"};
        case 46:
            return {second, "L"};
        case 47:
            return {second, "G"};
        case 48:
            return {second, "S"};
        case 49:
            return {second, "I"};
        case 50:
            return {second, "EE"};
        default:
            return {};
    }
}

}  // namespace

bool hasItemPicture(int index) {
    return !badgeFor(index).text.isEmpty();
}

void drawItemPicture(QPainter& p, const QRectF& rect, int index, bool grey) {
    Badge b = badgeFor(index);
    if (b.text.isEmpty() || rect.isEmpty()) return;
    if (grey) {
        const int v = qGray(b.color.rgb());
        b.color = QColor(v, v, v).lighter(125);
    }
    // Drawn in a 32-unit square scaled to the rectangle.
    const qreal s = std::min(rect.width(), rect.height()) / 32.0;
    p.save();
    p.translate(rect.left() + (rect.width() - 32 * s) / 2,
                rect.top() + (rect.height() - 32 * s) / 2);
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(b.color.darker(140), 1.5));
    p.setBrush(b.color);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    QFont f = QGuiApplication::font();
    f.setBold(true);
    f.setPixelSize(b.text.size() >= 3 ? 10 : b.text.size() == 2 ? 13 : 17);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, b.text);
    p.restore();
}

}  // namespace pelvoro
