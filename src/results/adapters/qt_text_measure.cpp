#include "results/adapters/qt_text_measure.h"

#include <QFont>
#include <QFontMetrics>
#include <string>
#include <unordered_map>

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

// The key of a font: every field of its spec.
std::string fontKey(const FontSpec& spec) {
    std::string key = spec.family;
    key += '\0';
    key += std::to_string(spec.pointSize);
    key += spec.bold ? 'b' : '-';
    key += spec.italic ? 'i' : '-';
    key += spec.underline ? 'u' : '-';
    return key;
}

// Texts measured at most per font before the cache starts afresh.
constexpr size_t kCachedTexts = 1 << 16;

}  // namespace

struct QtTextMeasure::Fonts {
    struct Font {
        explicit Font(const FontSpec& spec) : metrics(toQFont(spec)) {}
        QFontMetrics metrics;
        std::unordered_map<std::string, int> widths;
    };
    Font& of(const FontSpec& spec) {
        // Texts come in runs of one font: the last one is found without building its key.
        if (last && sameFont(lastSpec, spec)) return *last;
        std::string key = fontKey(spec);
        auto it = fonts.find(key);
        if (it == fonts.end()) it = fonts.emplace(std::move(key), Font(spec)).first;
        lastSpec = spec;
        last = &it->second;
        return *last;
    }
    static bool sameFont(const FontSpec& a, const FontSpec& b) {
        return a.pointSize == b.pointSize && a.bold == b.bold && a.italic == b.italic &&
               a.underline == b.underline && a.family == b.family;
    }
    std::unordered_map<std::string, Font> fonts;  // elements stay where they are
    FontSpec lastSpec;
    Font* last = nullptr;
};

QtTextMeasure::QtTextMeasure() : fonts_(std::make_unique<Fonts>()) {}
QtTextMeasure::~QtTextMeasure() = default;

int QtTextMeasure::width(const std::string& text, const FontSpec& font) {
    Fonts::Font& f = fonts_->of(font);
    auto it = f.widths.find(text);
    if (it != f.widths.end()) return it->second;
    const int w = f.metrics.horizontalAdvance(toQt(text));
    if (f.widths.size() >= kCachedTexts) f.widths.clear();
    f.widths.emplace(text, w);
    return w;
}

int QtTextMeasure::lineHeight(const FontSpec& font) {
    return fonts_->of(font).metrics.height();
}

FontSpec resultsTableFont() {
    FontSpec font;
    font.family = kMarkupFontName;
    font.pointSize = kMarkupFontSize;
    return font;
}

QtTextMeasure& screenTextMeasure() {
    static QtTextMeasure* measure = new QtTextMeasure;
    return *measure;
}

ResultRenderer makeScreenLineRenderer() {
    std::shared_ptr<TextMeasure> shared(&screenTextMeasure(), [](TextMeasure*) {});
    return makeLineRenderer(std::move(shared), resultsTableFont());
}

}  // namespace pelvoro
