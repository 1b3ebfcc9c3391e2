#pragma once
// The cell renderer of the results table: draws one cell of a table row from the row's
// interpreted lines, on the screen ("Tabela") or on a printer ("Printer"; the light
// report). Needs Qt Gui only, so that reports can be printed without widgets.

#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

#include "results/markup.h"
#include "results/result_rows.h"

class QFontMetricsF;
class QPainter;
class QPaintDevice;

namespace pelvoro {

// Where a cell is drawn. Text rendering ("ClipBrd") is renderCellText of the core.
enum class CellTarget { Tabela, Printer };

// A heading's path ("Workshop / Main board / F2 Sockets") shortened to `width`: whole
// middle places give way to "…" first, keeping the top-level place and those nearest the
// item; a path that still does not fit loses letters in its middle.
QString shortenPathInMiddle(const QString& path, qreal width, const QFontMetricsF& metrics);

// Block colours of the "#PC" digits 0..4 and the selection colour.
QColor blockColour(int code);
QColor selectionColour();

struct CellDrawOptions {
    CellTarget target = CellTarget::Tabela;
    int viewMode = kViewFull;
    bool selected = false;  // draw in the selection colour (the table has the focus)
    bool lastRow = false;   // draw the line under the last used row
    qreal charWidth = 8;    // width of "H" in the table font
};

// Draws one cell of a table row >= 1 from the row's lines interpreted in "Write" mode.
void DrawResultCell(QPainter& painter, const QRectF& cell, int column,
                    const std::vector<MarkupLine>& rowLines, const CellDrawOptions& options);

// The height of a row's cell drawn on `device` (screen when null): heading rows one or
// two lines, result rows their visible lines; both plus a third of a line.
qreal resultRowHeight(const std::vector<MarkupLine>& rowLines, int viewMode,
                      const QPaintDevice* device = nullptr);

}  // namespace pelvoro
