#include "results/adapters/qt_text_measure.h"

#include <QFont>
#include <QFontMetrics>

#include "common/adapters/qt_text.h"
#include "results/markup.h"
#include "results/render_result.h"

namespace pelvoro {

namespace {

QFont toQFont(const FontSpec& spec) {
    QFont font(QString::fromStdString(spec.family), spec.pointSize);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    if (spec.family == kMarkupFontName) font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace

int QtTextMeasure::width(const std::string& text, const FontSpec& font) {
    return QFontMetrics(toQFont(font)).horizontalAdvance(toQt(text));
}

int QtTextMeasure::lineHeight(const FontSpec& font) {
    return QFontMetrics(toQFont(font)).height();
}

FontSpec resultsTableFont() {
    FontSpec font;
    font.family = kMarkupFontName;
    font.pointSize = kMarkupFontSize;
    return font;
}

ResultRenderer makeScreenLineRenderer() {
    return makeLineRenderer(std::make_shared<QtTextMeasure>(), resultsTableFont());
}

}  // namespace pelvoro
