#include "results/adapters/markup_painter.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>
#include <set>

#include "common/lang_text.h"

namespace pelvoro {
namespace {

MarkupLine parse(const std::string& text, MarkupMode mode = MarkupMode::Write) {
    static const TextCodeTable codes = [] {
        TextCodeTable t;
        t.fill(*LanguageFile::fromText("[Language]\ntext20=Failed\ntext23=Passed\n"));
        return t;
    }();
    return ParseMarkup(text, mode, codes);
}

QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of every pixel that is not white.
QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage paintLine(const std::string& text, int width = 400, int height = 40) {
    QImage image = blankImage(width, height);
    QPainter p(&image);
    paintMarkupLine(p, QRectF(0, 0, width, height), parse(text));
    return image;
}

TEST(MarkupPainter, RightAlignedRunsEndAtTheRightEdge) {
    const MarkupLine line = parse("X#PR#L1Loop impedance#Cb#AR#K023");
    QImage image = blankImage(400, 30);
    QPainter p(&image);
    const MarkupLineLayout layout = layoutMarkupLine(line, QRectF(0, 0, 400, 30), &image);
    ASSERT_EQ(layout.runs.size(), 2u);
    EXPECT_DOUBLE_EQ(layout.runs[0].box.left(), 0);
    EXPECT_DOUBLE_EQ(layout.runs[1].box.left() + layout.runs[1].box.width(), 400);
    paintMarkupLine(p, QRectF(0, 0, 400, 30), line);
    p.end();
    const QRect ink = inkBounds(image);
    EXPECT_GE(ink.right(), 400 - 1 - 4);  // only the last letter's side bearing is left over
    EXPECT_LE(ink.left(), 3);

    // Without the alignment token the same text stays at the left.
    const QRect leftInk = inkBounds(paintLine("X#PR#L1Loop impedance#CbPassed"));
    EXPECT_LT(leftInk.right(), 300);
}

TEST(MarkupPainter, SeveralRightAlignedRunsKeepTheirOrder) {
    const MarkupLine line = parse("X#ARab#S348cd");
    const MarkupLineLayout layout = layoutMarkupLine(line, QRectF(10, 0, 300, 30));
    ASSERT_EQ(layout.runs.size(), 3u);
    EXPECT_LT(layout.runs[0].box.left(), layout.runs[1].box.left());
    EXPECT_DOUBLE_EQ(layout.runs[0].box.right(), layout.runs[1].box.left());
    EXPECT_DOUBLE_EQ(layout.runs[1].box.right(), layout.runs[2].box.left());
    EXPECT_DOUBLE_EQ(layout.runs[2].box.right(), 310);
}

TEST(MarkupPainter, CentredRunsAreCentred) {
    const MarkupLine line = parse("X#ACmiddle");
    const MarkupLineLayout layout = layoutMarkupLine(line, QRectF(0, 0, 300, 30));
    ASSERT_EQ(layout.runs.size(), 1u);
    EXPECT_NEAR(layout.runs[0].box.center().x(), 150, 0.01);
}

TEST(MarkupPainter, PictureHeightFollowsTheFont) {
    QImage probe = blankImage(10, 10);
    for (const char* size : {"#H8", "#HA", "#HF"}) {
        SCOPED_TRACE(size);
        const MarkupLine line = parse(std::string("X") + size + "R#S344");
        const MarkupLineLayout layout = layoutMarkupLine(line, QRectF(0, 0, 300, 60), &probe);
        ASSERT_EQ(layout.runs.size(), 2u);
        const QFontMetricsF fm(markupRunFont(line.runs[0]), &probe);
        EXPECT_DOUBLE_EQ(layout.runs[1].box.height(), fm.height());
        EXPECT_DOUBLE_EQ(layout.runs[1].box.width(), fm.height() * symbolAspect(344));
    }
    // And what is drawn grows with it.
    const QRect small = inkBounds(paintLine("X#H8#S344", 200, 60));
    const QRect large = inkBounds(paintLine("X#HF#S344", 200, 60));
    EXPECT_GT(large.height(), small.height() * 3 / 2);
    EXPECT_GT(large.width(), small.width() * 3 / 2);
}

TEST(MarkupPainter, LineHeightIsTheTallestFont) {
    QImage probe = blankImage(10, 10);
    const qreal plain = markupLineHeight(parse("Xtext"), &probe);
    const qreal mixed = markupLineHeight(parse("Xtext#HFbig#H8small"), &probe);
    EXPECT_GT(mixed, plain);
    EXPECT_DOUBLE_EQ(mixed,
                     QFontMetricsF(markupRunFont(parse("X#HFbig").runs[0]), &probe).height());
    EXPECT_DOUBLE_EQ(markupLineHeight(parse("X"), &probe), plain);  // no runs: the default font
}

TEST(MarkupPainter, MeasuresFollowTheDeviceResolution) {
    QImage screen = blankImage(10, 10);
    QImage fine = blankImage(10, 10);
    fine.setDotsPerMeterX(screen.dotsPerMeterX() * 3);
    fine.setDotsPerMeterY(screen.dotsPerMeterY() * 3);
    const MarkupLine line = parse("X#PR#L2Z: 0.42#S258");
    // Measured on the screen first, so that nothing measured for it is reused for the other.
    const qreal onScreen = markupLineHeight(line, &screen);
    const qreal onFine = markupLineHeight(line, &fine);
    EXPECT_NEAR(onFine / onScreen, 3.0, 0.35);
    const auto wide = layoutMarkupLine(line, QRectF(0, 0, 2000, 100), &fine);
    const auto narrow = layoutMarkupLine(line, QRectF(0, 0, 2000, 100), &screen);
    EXPECT_NEAR(wide.runs[0].box.width() / narrow.runs[0].box.width(), 3.0, 0.4);
}

TEST(MarkupPainter, PicturesTakeTheRunColourOnScreen) {
    const QImage image = paintLine("X#HF#CR#S308#Cb#S308", 300, 40);
    int red = 0, black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (qRed(px) > 200 && qGreen(px) < 80) ++red;
            if (qRed(px) < 60 && qGreen(px) < 60 && qBlue(px) < 60) ++black;
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(black, 20);
}

TEST(MarkupPainter, GlyphsBecomeTheirCharacters) {
    const MarkupLine line = parse("XR#S258 #S270 #S274 #S272");
    std::vector<QString> texts;
    for (const auto& run : line.runs)
        if (run.glyph) texts.push_back(markupRunText(run));
    EXPECT_EQ(texts, (std::vector<QString>{QString(QChar(0x03A9)), QString(QChar(0x2265)),
                                           QString(QChar(0x03C1)), QStringLiteral("_")}));
}

TEST(MarkupPainter, EveryPictureIsDrawnAndDistinct) {
    std::map<int, QImage> images;
    for (int code : markupSymbolCodes()) {
        const MarkupSymbol symbol = markupSymbol(code);
        if (symbol.glyph) continue;
        SCOPED_TRACE(code);
        QImage image = symbolPixmap(code, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(image.height(), 16);
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) ink += qAlpha(image.pixel(x, y)) > 128;
        if (code == 346) {
            EXPECT_EQ(ink, 0);  // the empty picture
        } else {
            EXPECT_GE(ink, 8);
        }
        images[code] = image;
    }
    // No two pictures look the same, but for the waveforms that mean the same.
    const std::set<std::pair<int, int>> same = {{300, 318}, {302, 319}};
    for (auto a = images.begin(); a != images.end(); ++a)
        for (auto b = std::next(a); b != images.end(); ++b)
            if (!same.count({a->first, b->first}) && a->first != 346 && b->first != 346) {
                EXPECT_NE(a->second, b->second) << a->first << " and " << b->first;
            }
}

TEST(MarkupPainter, TextTakesItsColour) {
    const QImage image = paintLine("X#CR#HFRRRR");
    int red = 0, other = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (px == qRgb(255, 255, 255)) continue;
            (qRed(px) > 200 && qGreen(px) < 120 && qBlue(px) < 120) ? ++red : ++other;
        }
    EXPECT_GT(red, 20);
    EXPECT_LT(other, red);
}

// A sheet of every symbol and some sample lines, for looking at: set
// PELVORO_MARKUP_SAMPLE to the path of the PNG to write.
TEST(MarkupPainter, SampleSheet) {
    const QByteArray path = qgetenv("PELVORO_MARKUP_SAMPLE");
    if (path.isEmpty()) GTEST_SKIP() << "PELVORO_MARKUP_SAMPLE not set";
    const std::vector<int>& codes = markupSymbolCodes();
    const int rowHeight = 34, columns = 3, columnWidth = 330;
    const int rows = (int(codes.size()) + columns - 1) / columns;
    QImage image = blankImage(columns * columnWidth, rows * rowHeight + 8 * 26 + 20);
    QPainter p(&image);
    for (size_t i = 0; i < codes.size(); ++i) {
        const int x = int(i % columns) * columnWidth, y = int(i / columns) * rowHeight;
        const int code = codes[i];
        char token[8];
        std::snprintf(token, sizeof token, "#S%03d", code);
        paintMarkupLine(p, QRectF(x + 4, y + 6, 60, 20), parse(std::string("X#H9") + token + " "));
        p.setPen(Qt::darkGray);
        p.drawText(QPointF(x + 4, y + 30), QString::number(code));
        // At the table's font, then bigger.
        paintMarkupLine(p, QRectF(x + 40, y + 4, 120, 30), parse(std::string("X") + token));
        paintMarkupLine(p, QRectF(x + 140, y + 2, 190, 30), parse(std::string("X#HF") + token));
        p.setPen(QColor(230, 230, 230));
        p.drawLine(x, y + rowHeight - 1, x + columnWidth, y + rowHeight - 1);
    }
    int y = rows * rowHeight + 10;
    for (const char* line :
         {"X#PR#L1#FBLoop impedance L1/PE#Cb#AR#K023", "X#PR#L1#FBRCD trip time#CR#AR#K020",
          "X#PR#L2R: 12.5M#S258  Um: 500V", "X#PL#L3Limit: #S270 1.00M#S258",
          "X#PR#L2U: #S272#S272#S272V", "X#PR#L2#S274: 125#S258m",
          "X#PR#L2t#S308: 23.4ms  t#S312: 8.1ms  I#S320: 26mA",
          "X#PR#S348 Visual check  #S349 Fail  #S352 n/a  #S351 #S350"}) {
        paintMarkupLine(p, QRectF(8, y, image.width() - 16, 26), parse(line));
        y += 26;
    }
    p.end();
    ASSERT_TRUE(image.save(QString::fromLocal8Bit(path)));
    // The symbols at the table's font, enlarged pixel for pixel, in two halves.
    const int half = (rows + 1) / 2 * rowHeight;
    for (int part = 0; part < 2; ++part) {
        const QImage zoom =
            image.copy(0, part * half, image.width(), half)
                .scaled(2 * image.width(), 2 * half, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        ASSERT_TRUE(zoom.save(QString::fromLocal8Bit(path) + QString(".zoom%1.png").arg(part + 1)));
    }
}

}  // namespace
}  // namespace pelvoro
