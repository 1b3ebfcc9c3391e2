#pragma once
// Drawing of interpreted mark-up lines (screen table, printer, report) and the small
// pictures behind the symbol codes.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <vector>

#include "results/markup.h"

class QPainter;
class QPaintDevice;

namespace pelvoro {

// The text of a run for the screen: its bytes read in the code page of its character
// set (the language's code page, Greek, or the symbol font's encoding).
QString markupRunText(const TResultText& run);

// The font of a run: name, point size and style. Fonts this system lacks are replaced
// by a font of the same kind ("Courier New" by a monospaced one). A glyph in the symbol
// font is drawn from its Unicode character in `lineFamily`, the font of the line.
QFont markupRunFont(const TResultText& run, const QString& lineFamily = QString());

// Width / height of a symbol's picture; pictures are drawn as high as their run's font.
qreal symbolAspect(int symbol);

// Draws the picture of `symbol` into `rect` (width as symbolAspect asks; it is centred
// when the rect is wider). Line art uses `ink`; the verdict pictures keep their own
// colours. Nothing is drawn for symbols without a picture.
void drawSymbolPicture(QPainter& painter, const QRectF& rect, int symbol,
                       const QColor& ink = Qt::black);

// The picture of `symbol`, `height` pixels high, on a transparent background.
QPixmap symbolPixmap(int symbol, int height, const QColor& ink = Qt::black);

// Where each run of a line goes.
struct MarkupRunPlacement {
    int run = 0;         // index into MarkupLine::runs
    QRectF box;          // the run's box: left, top of its font, width, font height
    qreal baseline = 0;  // y of the text baseline
    QFont font;          // the run's font
};

struct MarkupLineLayout {
    qreal height = 0;  // the tallest font of the line (the default font for a line without runs)
    qreal ascent = 0;  // the baseline's distance from the top
    std::vector<MarkupRunPlacement> runs;
};

// Places the runs of `line` in `rect`: left-aligned runs from the left edge on, right-
// aligned runs so that the last of them ends at the right edge, centred runs around the
// middle, each group in the order of the line. Runs are measured for `device` (screen
// when null).
MarkupLineLayout layoutMarkupLine(const MarkupLine& line, const QRectF& rect,
                                  const QPaintDevice* device = nullptr);

// The height of a line drawn on `device`: the tallest font among its runs.
qreal markupLineHeight(const MarkupLine& line, const QPaintDevice* device = nullptr);

// Draws `line` at the top of `rect` and returns its height. Text runs take their colour,
// font and style; glyphs are drawn in their character set; pictures are scaled to the
// height of their run's font.
qreal paintMarkupLine(QPainter& painter, const QRectF& rect, const MarkupLine& line);

}  // namespace pelvoro
