#include "results/adapters/markup_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <map>
#include <tuple>

#include "common/adapters/qt_text.h"

namespace pelvoro {

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------
// Character sets of glyph runs

QChar greekChar(unsigned char b) {
    // Windows Greek: capitals from 0xC1, small letters from 0xE1 (0xD2 is unused).
    if (b >= 0xC1 && b <= 0xD1) return QChar(0x0391 + (b - 0xC1));
    if (b >= 0xD3 && b <= 0xFE) return QChar(0x03A3 + (b - 0xD3));
    return QChar(b);
}

QChar symbolFontChar(unsigned char b) {
    switch (b) {
        case 0xA3:
            return QChar(0x2264);  // <=
        case 0xB0:
            return QChar(0x00B0);  // degree
        case 0xB1:
            return QChar(0x00B1);  // +-
        case 0xB3:
            return QChar(0x2265);  // >=
        case 0xB4:
            return QChar(0x00D7);  // times
        case 0xB8:
            return QChar(0x00F7);  // divided by
        case 'W':
            return QChar(0x03A9);  // ohm
        case 'm':
            return QChar(0x03BC);  // micro
        case 'r':
            return QChar(0x03C1);  // rho
        default:
            return QChar(b);
    }
}

// ---------------------------------------------------------------------------------------
// Pictures. Every picture is drawn in a unit square per height: x from 0 to its aspect,
// y from 0 (top) to 1 (bottom).

enum class Wave { AC0, AC180, A0, A180, BPos, BNeg, B };

const char* multiplierText(int index) {
    static const char* const texts[] = {"\u00BD", "1", "5", "2"};
    return texts[index];
}

QPen unitPen(const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The outline of a picture's text at 100 pixels; made once per text, as laying out text
// costs far more than filling it.
const QPainterPath& textOutline(const QString& text, bool bold) {
    static auto* cache = new std::map<std::pair<QString, bool>, QPainterPath>;  // kept to the end
    auto it = cache->find({text, bold});
    if (it != cache->end()) return it->second;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(100);
    font.setBold(bold);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return cache->emplace(std::make_pair(text, bold), path).first->second;
}

// Fills `text` scaled to fit `box`, centred.
void drawFittedText(QPainter& p, const QRectF& box, const QString& text, const QColor& ink,
                    bool bold = true) {
    const QPainterPath& path = textOutline(text, bold);
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty()) return;
    const double scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(t.map(path));
    p.restore();
}

// "x" and the factor; the factor is as tall as capitals and more, so that a half stays
// readable at the table's font.
void drawMultiplier(QPainter& p, double left, double right, int index, const QColor& ink) {
    const double timesWidth = 0.3;
    drawFittedText(p, QRectF(left, 0.32, timesWidth, 0.36), QString(QChar(0x00D7)), ink);
    drawFittedText(p,
                   QRectF(left + timesWidth + 0.04, 0.12, right - left - timesWidth - 0.04, 0.76),
                   QString::fromUtf8(multiplierText(index)), ink);
}

void drawWave(QPainter& p, const QRectF& box, Wave wave, const QColor& ink) {
    const double line = 0.1;
    const double left = box.left(), width = box.width();
    const double top = box.top(), height = box.height();
    QColor axisColour = ink;
    axisColour.setAlphaF(0.45);
    const QPen axisPen = unitPen(axisColour, 0.05);
    const QPen wavePen = unitPen(ink, line);
    constexpr int kSteps = 40;
    QPolygonF poly;
    switch (wave) {
        case Wave::AC0:
        case Wave::AC180: {
            const double mid = top + height / 2, amp = height * 0.45;
            const double sign = wave == Wave::AC0 ? 1 : -1;
            p.setPen(axisPen);
            p.drawLine(QPointF(left, mid), QPointF(left + width, mid));
            for (int i = 0; i <= kSteps; ++i) {
                const double t = double(i) / kSteps;
                poly << QPointF(left + t * width, mid - sign * amp * std::sin(2 * kPi * t));
            }
            p.setPen(wavePen);
            p.drawPolyline(poly);
            break;
        }
        case Wave::A0:
        case Wave::A180: {
            // Two half-wave pulses standing on the zero line.
            const bool up = wave == Wave::A0;
            const double base = up ? top + height * 0.95 : top + height * 0.05;
            const double amp = height * 0.9 * (up ? 1 : -1);
            for (int i = 0; i <= kSteps; ++i) {
                const double t = double(i) / kSteps;
                const double phase = t * 2 - std::floor(t * 2);
                const double v = phase < 0.5 ? std::sin(2 * kPi * phase) : 0.0;
                poly << QPointF(left + t * width, base - amp * std::max(0.0, v));
            }
            p.setPen(wavePen);
            p.drawPolyline(poly);
            break;
        }
        case Wave::BPos:
        case Wave::BNeg: {
            // Smooth direct current above (positive) or below (negative) the zero line.
            const double mid = top + height / 2;
            const double level = wave == Wave::BPos ? top + height * 0.1 : top + height * 0.9;
            p.setPen(axisPen);
            p.drawLine(QPointF(left, mid), QPointF(left + width, mid));
            p.setPen(unitPen(ink, line * 1.3));
            p.drawLine(QPointF(left + width * 0.05, level), QPointF(left + width * 0.95, level));
            // A small sign: "+" or "-" on the zero line's far end is too small to read;
            // a short stem from the zero line to the level shows the direction instead.
            p.setPen(unitPen(ink, line * 0.8));
            p.drawLine(QPointF(left + width * 0.05, mid), QPointF(left + width * 0.05, level));
            break;
        }
        case Wave::B: {
            // The type B emblem: a sine, then smooth direct current (a full and a dashed line).
            const double mid = top + height * 0.25, amp = height * 0.22;
            for (int i = 0; i <= kSteps; ++i) {
                const double t = double(i) / kSteps;
                poly << QPointF(left + t * width, mid - amp * std::sin(2 * kPi * t));
            }
            p.setPen(wavePen);
            p.drawPolyline(poly);
            p.drawLine(QPointF(left, top + height * 0.66),
                       QPointF(left + width, top + height * 0.66));
            QPen dashed = unitPen(ink, line);
            dashed.setCapStyle(Qt::FlatCap);
            p.setPen(dashed);
            const double y = top + height * 0.92;
            for (int i = 0; i < 3; ++i) {
                const double x0 = left + width * (i / 3.0), x1 = x0 + width / 5.0;
                p.drawLine(QPointF(x0, y), QPointF(x1, y));
            }
            break;
        }
    }
}

struct WavePicture {
    bool wave = false;
    Wave kind = Wave::AC0;
    int multiplier = -1;  // index into multiplierText, -1 for none
    bool large = false;
};

WavePicture wavePicture(int code) {
    static const Wave acA[] = {Wave::AC0, Wave::AC180, Wave::A0, Wave::A180};
    WavePicture w;
    if (code >= 300 && code <= 303) {
        w = {true, acA[code - 300], -1, false};
    } else if (code >= 304 && code <= 315) {
        w = {true, acA[(code - 304) % 4], (code - 304) / 4, false};
    } else if (code >= 356 && code <= 359) {
        w = {true, acA[code - 356], 3, false};
    } else if (code == 318 || code == 319) {
        w = {true, code == 318 ? Wave::AC0 : Wave::A0, -1, false};
    } else if (code >= 321 && code <= 323) {
        static const Wave b[] = {Wave::BNeg, Wave::BPos, Wave::B};
        w = {true, b[code - 321], -1, false};
    } else if (code >= 324 && code <= 329) {
        w = {true, (code - 324) % 2 == 0 ? Wave::BPos : Wave::BNeg, (code - 324) / 2, false};
    } else if (code == 360 || code == 361) {
        w = {true, code == 360 ? Wave::BPos : Wave::BNeg, 3, false};
    } else if (code >= 330 && code <= 333) {
        w = {true, acA[code - 330], -1, true};
    }
    return w;
}

void drawBox(QPainter& p, const QColor& border, const QColor& fill, double penWidth) {
    p.setPen(unitPen(border, penWidth));
    p.setBrush(fill);
    p.drawRect(QRectF(0.12, 0.12, 0.76, 0.76));
    p.setBrush(Qt::NoBrush);
}

void drawCheck(QPainter& p, const QColor& colour, double width, double inset = 0) {
    QPolygonF tick;
    tick << QPointF(0.15 + inset, 0.55) << QPointF(0.4, 0.82 - inset)
         << QPointF(0.88 - inset, 0.18 + inset);
    p.setPen(unitPen(colour, width));
    p.drawPolyline(tick);
}

void drawUnitPicture(QPainter& p, int code, double aspect, const QColor& ink) {
    const WavePicture w = wavePicture(code);
    if (w.wave) {
        if (w.multiplier < 0) {
            drawWave(p, QRectF(0.08, 0.1, aspect - 0.16, 0.8), w.kind, ink);
        } else {
            drawWave(p, QRectF(0.06, 0.12, 1.15, 0.76), w.kind, ink);
            drawMultiplier(p, 1.3, aspect - 0.04, w.multiplier, ink);
        }
        return;
    }
    switch (code) {
        case 257: {  // phase rotation: a clockwise arrow around
            const QRectF circle(0.16, 0.16, 0.68, 0.68);
            p.setPen(unitPen(ink, 0.1));
            p.drawArc(circle, 90 * 16, -290 * 16);
            const double end = (90.0 - 290.0) * kPi / 180.0;  // angle of the arrow's head
            const QPointF c = circle.center();
            const double r = circle.width() / 2;
            const QPointF tip(c.x() + r * std::cos(end), c.y() - r * std::sin(end));
            const QPointF dir(std::sin(end), std::cos(end));  // clockwise tangent (y down)
            const QPointF normal(-dir.y(), dir.x());
            QPolygonF head;
            head << tip + dir * 0.22 << tip + normal * 0.14 << tip - normal * 0.14;
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawPolygon(head);
            p.setBrush(Qt::NoBrush);
            break;
        }
        case 277:
        case 278:
        case 279:
            drawMultiplier(p, 0.05, aspect - 0.05, code - 277, ink);
            break;
        case 316:
        case 317:
            p.setPen(unitPen(ink, 0.08));
            p.drawRoundedRect(QRectF(0.08, 0.08, 0.84, 0.84), 0.12, 0.12);
            drawFittedText(p, QRectF(0.24, 0.2, 0.52, 0.6), code == 316 ? "G" : "S", ink);
            break;
        case 320: {  // rising steps of the test current
            QPolygonF steps;
            const double sx = (aspect - 0.2) / 4.0;
            double px = 0.1, py = 0.88;
            steps << QPointF(px, py);
            for (int i = 0; i < 4; ++i) {
                px += sx;
                steps << QPointF(px, py);
                if (i < 3) {
                    py -= 0.24;
                    steps << QPointF(px, py);
                }
            }
            p.setPen(unitPen(ink, 0.1));
            p.drawPolyline(steps);
            break;
        }
        case 341: {  // a current clamp round a conductor
            p.setPen(unitPen(ink, 0.1));
            p.drawArc(QRectF(0.18, 0.06, 0.64, 0.64), 115 * 16, 310 * 16);
            p.drawLine(QPointF(0.5, 0.7), QPointF(0.5, 0.96));
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawEllipse(QPointF(0.5, 0.38), 0.09, 0.09);
            p.setBrush(Qt::NoBrush);
            break;
        }
        case 342:  // unchecked
            drawBox(p, ink, Qt::white, 0.08);
            break;
        case 343:  // not selectable
            drawBox(p, QColor(140, 140, 140), QColor(215, 215, 215), 0.08);
            break;
        case 344:  // checked
            drawBox(p, ink, Qt::white, 0.08);
            drawCheck(p, ink, 0.12, 0.08);
            break;
        case 348:  // passed
            drawCheck(p, QColor(0, 150, 0), 0.17);
            break;
        case 349:  // failed
            p.setPen(unitPen(QColor(215, 0, 0), 0.17));
            p.drawLine(QPointF(0.2, 0.2), QPointF(0.8, 0.8));
            p.drawLine(QPointF(0.8, 0.2), QPointF(0.2, 0.8));
            break;
        case 350:  // not answered
            p.setPen(unitPen(QColor(90, 90, 90), 0.08));
            p.drawRect(QRectF(0.16, 0.16, 0.68, 0.68));
            break;
        case 351:  // limited
            drawFittedText(p, QRectF(0.2, 0.12, 0.6, 0.76), "L", QColor(0, 0, 170));
            break;
        case 352:  // not applicable
            p.setPen(unitPen(QColor(70, 70, 70), 0.15));
            p.drawLine(QPointF(0.2, 0.5), QPointF(0.8, 0.5));
            break;
        default:  // 346 and codes without a picture: nothing
            break;
    }
}

}  // namespace

QString markupRunText(const TResultText& run) {
    if (run.charSet == CharacterSet::Default) return toQt(run.text);
    QString s;
    s.reserve(int(run.text.size()));
    for (char c : run.text) {
        const auto b = static_cast<unsigned char>(c);
        s += run.charSet == CharacterSet::Greek ? greekChar(b) : symbolFontChar(b);
    }
    return s;
}

QFont markupRunFont(const TResultText& run, const QString& lineFamily) {
    QString family = QString::fromStdString(run.fontName);
    if (run.charSet == CharacterSet::Symbol)
        family = lineFamily.isEmpty() ? QString::fromLatin1(kMarkupFontName) : lineFamily;
    QFont font(family);
    if (family.startsWith(QLatin1String("Courier"), Qt::CaseInsensitive))
        font.setStyleHint(QFont::TypeWriter);
    else if (family.contains(QLatin1String("Sans"), Qt::CaseInsensitive) ||
             family == QLatin1String("Arial"))
        font.setStyleHint(QFont::SansSerif);
    font.setPointSize(std::max(1, run.size));
    font.setBold(run.bold);
    font.setItalic(run.italic);
    font.setUnderline(run.underline);
    return font;
}

qreal symbolAspect(int symbol) {
    const WavePicture w = wavePicture(symbol);
    if (w.wave) {
        if (w.multiplier >= 0) return 2.5;
        return w.large ? 2.2 : 1.5;
    }
    switch (symbol) {
        case 277:
        case 278:
        case 279:
            return 1.3;
        case 320:
            return 1.2;
        default:
            return 1.0;
    }
}

void drawSymbolPicture(QPainter& painter, const QRectF& rect, int symbol, const QColor& ink) {
    if (rect.height() <= 0) return;
    const double aspect = symbolAspect(symbol);
    const double height = std::min(rect.height(), rect.width() / aspect);
    if (height <= 0) return;
    const double width = height * aspect;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(rect.left() + (rect.width() - width) / 2,
                      rect.top() + (rect.height() - height) / 2);
    painter.scale(height, height);
    drawUnitPicture(painter, symbol, aspect, ink);
    painter.restore();
}

QPixmap symbolPixmap(int symbol, int height, const QColor& ink) {
    height = std::max(1, height);
    const int width = std::max(1, int(std::lround(height * symbolAspect(symbol))));
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    drawSymbolPicture(p, QRectF(0, 0, width, height), symbol, ink);
    return pixmap;
}

namespace {

struct MeasuredRun {
    int index;
    QFont font;
    qreal width;
    qreal ascent;
    qreal height;
};

QFontMetricsF metricsFor(const QFont& font, const QPaintDevice* device) {
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

// Fonts and their metrics, per family, size, style and device resolution: making them
// anew for every run costs more than the whole rest of the drawing. Used on the
// user-interface thread only; kept for the whole run (a handful of entries).
struct FontKey {
    std::string family;
    int size;
    bool bold, italic, underline;
    int dpiX, dpiY;
    bool operator<(const FontKey& o) const {
        return std::tie(family, size, bold, italic, underline, dpiX, dpiY) <
               std::tie(o.family, o.size, o.bold, o.italic, o.underline, o.dpiX, o.dpiY);
    }
};

struct CachedFont {
    QFont font;
    QFontMetricsF metrics;
};

CachedFont cachedFont(const TResultText& run, const std::string& lineFamily,
                      const QPaintDevice* device) {
    // Never destroyed: fonts must not outlive the application object at exit.
    static auto* cache = new std::map<FontKey, CachedFont>;
    const FontKey key{run.charSet == CharacterSet::Symbol ? lineFamily : run.fontName,
                      run.size,
                      run.bold,
                      run.italic,
                      run.underline,
                      device ? device->logicalDpiX() : -1,
                      device ? device->logicalDpiY() : -1};
    auto it = cache->find(key);
    if (it != cache->end()) return it->second;
    if (cache->size() >= 256) cache->clear();
    const QFont font = markupRunFont(run, QString::fromStdString(lineFamily));
    return cache->emplace(key, CachedFont{font, metricsFor(font, device)}).first->second;
}

std::vector<MeasuredRun> measureRuns(const MarkupLine& line, const QPaintDevice* device,
                                     bool withWidths, qreal& height, qreal& ascent) {
    std::vector<MeasuredRun> measured;
    measured.reserve(line.runs.size());
    std::string lineFamily = kMarkupFontName;
    height = 0;
    ascent = 0;
    for (int i = 0; i < int(line.runs.size()); ++i) {
        const TResultText& run = line.runs[i];
        const CachedFont f = cachedFont(run, lineFamily, device);
        if (run.charSet != CharacterSet::Symbol) lineFamily = run.fontName;
        qreal width = 0;
        if (!withWidths)
            width = 0;
        else if (run.picture)
            width = symbolAspect(run.symbol) * f.metrics.height();
        else if (!run.text.empty())
            width = f.metrics.horizontalAdvance(markupRunText(run));
        measured.push_back({i, f.font, width, f.metrics.ascent(), f.metrics.height()});
        height = std::max(height, f.metrics.height());
        ascent = std::max(ascent, f.metrics.ascent());
    }
    if (line.runs.empty()) {
        const CachedFont f = cachedFont(TResultText{}, lineFamily, device);
        height = f.metrics.height();
        ascent = f.metrics.ascent();
    }
    return measured;
}

}  // namespace

MarkupLineLayout layoutMarkupLine(const MarkupLine& line, const QRectF& rect,
                                  const QPaintDevice* device) {
    MarkupLineLayout layout;
    const std::vector<MeasuredRun> measured =
        measureRuns(line, device, true, layout.height, layout.ascent);
    const qreal baseline = rect.top() + layout.ascent;
    qreal rightWidth = 0, centreWidth = 0;
    for (const auto& m : measured) {
        const RunAlignment a = line.runs[m.index].alignment;
        if (a == RunAlignment::Right)
            rightWidth += m.width;
        else if (a == RunAlignment::Centre)
            centreWidth += m.width;
    }
    qreal leftX = rect.left();
    qreal rightX = rect.left() + rect.width() - rightWidth;  // the last one ends at the edge
    qreal centreX = rect.left() + (rect.width() - centreWidth) / 2;
    for (const auto& m : measured) {
        qreal* x = &leftX;
        const RunAlignment a = line.runs[m.index].alignment;
        if (a == RunAlignment::Right)
            x = &rightX;
        else if (a == RunAlignment::Centre)
            x = &centreX;
        MarkupRunPlacement placement;
        placement.run = m.index;
        placement.baseline = baseline;
        placement.font = m.font;
        placement.box = QRectF(*x, baseline - m.ascent, m.width, m.height);
        *x += m.width;
        layout.runs.push_back(placement);
    }
    return layout;
}

qreal markupLineHeight(const MarkupLine& line, const QPaintDevice* device) {
    qreal height = 0, ascent = 0;
    measureRuns(line, device, false, height, ascent);
    return height;
}

namespace {

// Screens and images get the pictures from a cache of pixmaps per symbol, height and ink
// (drawing their outlines anew is slow enough to be felt while scrolling); printers and
// other vector devices get them drawn.
bool rasterDevice(const QPaintDevice* device) {
    if (!device) return false;
    const int type = device->devType();
    return type == QInternal::Widget || type == QInternal::Pixmap || type == QInternal::Image;
}

void drawCachedPicture(QPainter& painter, const QRectF& box, int symbol, const QColor& ink) {
    const qreal ratio = painter.device()->devicePixelRatioF();
    const int height = int(std::lround(box.height() * ratio));
    if (height <= 0) return;
    using Key = std::tuple<int, int, QRgb>;
    static auto* cache = new std::map<Key, QPixmap>;  // kept to the end
    const Key key{symbol, height, ink.rgba()};
    auto it = cache->find(key);
    if (it == cache->end()) {
        if (cache->size() >= 512) cache->clear();
        QPixmap pixmap = symbolPixmap(symbol, height, ink);
        it = cache->emplace(key, pixmap).first;
    }
    QPixmap pixmap = it->second;
    pixmap.setDevicePixelRatio(ratio);
    painter.drawPixmap(
        QPointF(std::round(box.left() * ratio) / ratio, std::round(box.top() * ratio) / ratio),
        pixmap);
}

}  // namespace

qreal paintMarkupLine(QPainter& painter, const QRectF& rect, const MarkupLine& line) {
    const MarkupLineLayout layout = layoutMarkupLine(line, rect, painter.device());
    const bool raster = rasterDevice(painter.device());
    painter.save();
    for (const auto& placement : layout.runs) {
        const TResultText& run = line.runs[placement.run];
        const QColor colour(run.colour.r, run.colour.g, run.colour.b);
        if (run.picture) {
            if (raster)
                drawCachedPicture(painter, placement.box, run.symbol, colour);
            else
                drawSymbolPicture(painter, placement.box, run.symbol, colour);
        } else if (!run.text.empty()) {
            painter.setFont(placement.font);
            painter.setPen(colour);
            painter.drawText(QPointF(placement.box.left(), placement.baseline), markupRunText(run));
        }
    }
    painter.restore();
    return layout.height;
}

}  // namespace pelvoro
