// Font choices. The layout was drawn for a small bitmap dialog font; where
// that font is missing, Liberation Sans (metrically Arial) and DejaVu Sans are
// the fallbacks installed with the program's dependencies, tried in order.
#include "ui/fonts.h"

#include "ui/control_table.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLatin1StringView>
#include <QRect>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>

namespace tarvix {

namespace {

// The family the window's fonts are drawn in, named alone: the first of the
// sans-serif list that the font database has (the whole list where it has
// none). A font of the whole list is drawn in the same family, but on the way
// Qt has fontconfig search fall-backs for each missing family before it tries
// the next, and, given several families, works out at once the fall-backs of
// the one it found. Those are needed only for a character the family lacks
// (none that the window writes; one pasted into a box), and Qt looks them up
// then. Qt finds a family by the database's names, ignoring case, as this does.
const QStringList& sansSerifFamilies() {
    static const QStringList families = [] {
        const QStringList wanted{
            QStringLiteral("MS Sans Serif"),   QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans"),
        };
        const QStringList database = QFontDatabase::families();
        for (const QString& family : wanted) {
            if (database.contains(family, Qt::CaseInsensitive)) {
                return QStringList{family};
            }
        }
        return wanted;
    }();
    return families;
}

// Whether every label's caption, wrapped at word boundaries as a label wraps
// it, fits inside the label's box in this font.
bool captionsFit(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const ControlDescription& control : controlTable()) {
        if (control.kind != ControlKind::Label) {
            continue;
        }
        const QRect box(0, 0, twipsToPixels(control.width), twipsToPixels(control.height));
        const QString text =
            QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, box.width(), 10 * box.height()),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        if (needed.width() > box.width() || needed.height() > box.height()) {
            return false;
        }
    }
    return true;
}

// The original dialog font is 8 point, 11 pixels at 96 dpi; the fallbacks run
// wider, so smaller sizes are tried until every caption fits.
constexpr std::array kDefaultPixelSizes{11, 10, 9, 8};

// The size at which the captions fit, for the fallback families installed with
// the program's dependencies, so that start-up does not lay every caption out
// twice to find it. The layout test measures them again.
constexpr std::array kFittedFamilies{
    FittedFamily{QLatin1StringView("Liberation Sans"), 10},
    FittedFamily{QLatin1StringView("DejaVu Sans"), 9},
};

constexpr int kResultPointSize = 12;

} // namespace

std::span<const FittedFamily> fittedFamilies() {
    return kFittedFamilies;
}

int fittingPixelSize(QFont font) {
    for (const int pixelSize : kDefaultPixelSizes) {
        font.setPixelSize(pixelSize);
        if (captionsFit(font)) {
            return pixelSize;
        }
    }
    return kDefaultPixelSizes.back();
}

QFont defaultFont() {
    QFont font;
    font.setFamilies(sansSerifFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    // Worked out once, as the family is: the application's font and the
    // window's are both this one.
    static const int pixelSize = [&font] {
        const auto fitted = std::ranges::find(kFittedFamilies, sansSerifFamilies().constFirst(),
                                              &FittedFamily::family);
        return fitted != kFittedFamilies.end() ? fitted->pixelSize : fittingPixelSize(font);
    }();
    font.setPixelSize(pixelSize);
    return font;
}

QFont resultFont() {
    QFont font;
    font.setFamilies(sansSerifFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(kResultPointSize);
    font.setBold(true);
    return font;
}

} // namespace tarvix
