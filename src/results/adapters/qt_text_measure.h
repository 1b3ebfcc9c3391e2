#pragma once
// Text measurement with the screen fonts (needs a QGuiApplication).

#include <memory>

#include "common/text_measure.h"
#include "results/results_loading.h"

namespace pelvoro {

// Widths are kept per font and text: word wrapping measures the same words of the same
// questions again and again.
class QtTextMeasure : public TextMeasure {
  public:
    QtTextMeasure();
    ~QtTextMeasure() override;
    int width(const std::string& text, const FontSpec& font) override;
    int lineHeight(const FontSpec& font) override;

  private:
    struct Fonts;
    std::unique_ptr<Fonts> fonts_;
};

// The measure of the screen, shared by the whole process so that every word is shaped
// once. It lives to the end of the process (it is never destroyed, so its fonts are never
// released after the application object).
QtTextMeasure& screenTextMeasure();

// The results table's font: the mark-up's default font and size.
FontSpec resultsTableFont();

// The line renderer of the desktop program: measures inspection texts in the results
// table's font.
ResultRenderer makeScreenLineRenderer();

}  // namespace pelvoro
