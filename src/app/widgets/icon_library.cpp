#include "app/widgets/icon_library.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QTransform>

#include "document/adapters/item_pictures.h"
#include "document/item_types.h"

namespace pelvoro {

namespace {

constexpr int kSize = 32;

// A transparent picture of the toolbar's size drawn smoothly by `draw`.
template <typename Draw>
QPixmap drawnPicture(Draw draw) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pm;
}

QPixmap tile(int index) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    drawItemPicture(p, QRectF(0, 0, kSize, kSize), index);
    return pm;
}

// An arrow into (down) or out of (up) a tester: the download and send pictures.
QPixmap transferPicture(bool down) {
    return drawnPicture([&](QPainter& p) {
        p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.5));
        p.setBrush(QColor(0xf2, 0xc1, 0x1d));
        p.drawRoundedRect(QRectF(5, 17, 22, 12), 3, 3);  // the tester
        p.setBrush(QColor(0x2e, 0x6d, 0xb4));
        // The down arrow; the up arrow is its mirror image about the line y = 9.
        QPainterPath arrow;
        arrow.moveTo(13, 2);
        arrow.lineTo(19, 2);
        arrow.lineTo(19, 9);
        arrow.lineTo(24, 9);
        arrow.lineTo(16, 17);
        arrow.lineTo(8, 9);
        arrow.lineTo(13, 9);
        arrow.closeSubpath();
        if (!down) arrow = QTransform(1, 0, 0, -1, 0, 18).map(arrow);
        p.drawPath(arrow);
    });
}

QPixmap deletePicture() {
    return drawnPicture([&](QPainter& p) {
        p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(8, 8, 24, 24);
        p.drawLine(24, 8, 8, 24);
    });
}

QPixmap moveModePicture() {
    return drawnPicture([&](QPainter& p) {
        p.setPen(QPen(QColor(0x33, 0x33, 0x33), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(16, 4, 16, 28);
        p.drawLine(16, 4, 10, 10);
        p.drawLine(16, 4, 22, 10);
        p.drawLine(16, 28, 10, 22);
        p.drawLine(16, 28, 22, 22);
    });
}

QPixmap chartPicture(bool table) {
    return drawnPicture([&](QPainter& p) {
        p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 4, 24, 24));
        if (table) {
            for (int y = 10; y < 28; y += 6) p.drawLine(4, y, 28, y);
            p.drawLine(14, 4, 14, 28);
        } else {
            p.setPen(QPen(QColor(0x2e, 0x6d, 0xb4), 2));
            p.drawPolyline(
                QPolygonF({QPointF(6, 24), QPointF(12, 14), QPointF(18, 18), QPointF(26, 7)}));
        }
    });
}

QPixmap reportPicture(QColor mark) {
    return drawnPicture([&](QPainter& p) {
        p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 18, 26));
        p.setPen(QPen(QColor(0x88, 0x88, 0x88), 1.5));
        for (int y = 9; y < 26; y += 4) p.drawLine(10, y, 22, y);
        p.setPen(Qt::NoPen);
        p.setBrush(mark);
        p.drawEllipse(QPointF(23, 24), 6, 6);
    });
}

}  // namespace

QIcon imageListIcon(int index) {
    static QHash<int, QIcon> cache;
    auto it = cache.find(index);
    if (it != cache.end()) return *it;
    QIcon icon;
    if (index == 63)
        icon = QIcon(transferPicture(true));
    else if (hasItemPicture(index))
        icon = QIcon(tile(index));
    cache.insert(index, icon);
    return icon;
}

QIcon itemTypeQIcon(int typeCode) {
    int index = itemTypeIcon(typeCode);
    return index < 0 ? QIcon() : imageListIcon(index);
}

QIcon toolbarIcon(const QString& name) {
    QStyle* style = QApplication::style();
    if (name == "tbnNew") return style->standardIcon(QStyle::SP_FileIcon);
    if (name == "tbnOpen") return style->standardIcon(QStyle::SP_DialogOpenButton);
    if (name == "tbnSave") return style->standardIcon(QStyle::SP_DialogSaveButton);
    if (name == "tbnExit") return style->standardIcon(QStyle::SP_DialogCloseButton);
    if (name == "tbnDownLoad") return imageListIcon(63);
    if (name == "tbnSend") return QIcon(transferPicture(false));
    if (name == "tbnSettings") return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    if (name == "tbnTableGr") return QIcon(chartPicture(true));
    if (name == "tbnGraph") return QIcon(chartPicture(false));
    if (name == "tbnMoveUpDn") return QIcon(moveModePicture());
    if (name.startsWith("tbnDelete")) return QIcon(deletePicture());
    if (name == "tbnCreateRep") return QIcon(reportPicture(QColor(0x3a, 0x8f, 0x5c)));
    if (name == "tbnPreviewRep") return QIcon(reportPicture(QColor(0x2e, 0x6d, 0xb4)));
    if (name == "tbnViewLightRep") return QIcon(reportPicture(QColor(0xf2, 0xc1, 0x1d)));
    if (name == "tbnViewStructure") return QIcon(reportPicture(QColor(0x8a, 0x5a, 0xb0)));
    return {};
}

}  // namespace pelvoro
