#pragma once
// Text measurement with the screen fonts (needs a QGuiApplication).

#include <memory>

#include "common/text_measure.h"
#include "results/results_loading.h"

namespace pelvoro {

class QtTextMeasure : public TextMeasure {
  public:
    int width(const std::string& text, const FontSpec& font) override;
    int lineHeight(const FontSpec& font) override;
};

// The results table's font: the mark-up's default font and size.
FontSpec resultsTableFont();

// The line renderer of the desktop program: measures inspection texts in the results
// table's font.
ResultRenderer makeScreenLineRenderer();

}  // namespace pelvoro
