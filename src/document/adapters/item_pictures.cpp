#include "document/adapters/item_pictures.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QString>

namespace pelvoro {

namespace {

// Item pictures: a coloured tile with a short mark, one colour per item family.
constexpr QRgb kObject = qRgb(0x55, 0x55, 0x55), kInstallation = qRgb(0x2e, 0x6d, 0xb4),
               kGeneral = qRgb(0x3a, 0x8f, 0x5c), kSecond = qRgb(0x8a, 0x5a, 0xb0),
               kResult = qRgb(0xc0, 0x7a, 0x12), kUnknown = qRgb(0x90, 0x90, 0x90);

struct Badge {
    int index;
    QRgb color;
    const char* text;
};

constexpr Badge kBadges[] = {
    {70, kObject, "OB"},       {10, kInstallation, "DB"}, {11, kInstallation, "LR"},
    {12, kInstallation, "PE"}, {13, kInstallation, "F"},  {14, kInstallation, "RCD"},
    {15, kInstallation, "E"},  {16, kInstallation, "CE"}, {17, kInstallation, "CM"},
    {18, kInstallation, "EA"}, {19, kGeneral, "FL"},      {20, kGeneral, "RM"},
    {21, kGeneral, "TB"},      {71, kInstallation, "CN"}, {22, kUnknown, "?"},
    {23, kResult, "M"},        {62, kResult, "MG"},       {55, kSecond, "SB"},
    {42, kSecond, "C"},        {43, kSecond, "M"},        {44, kSecond, "W"},
    {45, kSecond, "O"},        {46, kSecond, "L"},        {47, kSecond, "G"},
    {48, kSecond, "S"},        {49, kSecond, "I"},        {50, kSecond, "EE"},
};

const Badge* badgeFor(int index) {
    for (const Badge& b : kBadges)
        if (b.index == index) return &b;
    return nullptr;
}

}  // namespace

bool hasItemPicture(int index) {
    return badgeFor(index) != nullptr;
}

void drawItemPicture(QPainter& p, const QRectF& rect, int index, bool grey) {
    const Badge* badge = badgeFor(index);
    if (!badge || rect.isEmpty()) return;
    QColor color(badge->color);
    if (grey) {
        const int v = qGray(color.rgb());
        color = QColor(v, v, v).lighter(125);
    }
    const QString text = QString::fromLatin1(badge->text);
    // Drawn in a 32-unit square scaled to the rectangle.
    const qreal s = std::min(rect.width(), rect.height()) / 32.0;
    p.save();
    p.translate(rect.left() + (rect.width() - 32 * s) / 2,
                rect.top() + (rect.height() - 32 * s) / 2);
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color.darker(140), 1.5));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    QFont f = QGuiApplication::font();
    f.setBold(true);
    f.setPixelSize(text.size() >= 3 ? 10 : text.size() == 2 ? 13 : 17);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, text);
    p.restore();
}

}  // namespace pelvoro
