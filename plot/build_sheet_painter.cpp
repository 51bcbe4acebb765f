// The build sheet painted with QPainter in points onto a PDF or SVG page: the
// sections run down the page in the order a builder needs them, the SWR plot
// taking what room the others leave.
#include "plot/build_sheet_painter.h"

#include "calc/conversions.h"
#include "calc/cut_list.h"
#include "calc/number_text.h"
#include "calc/units.h"
#include "plot/build_sheet_drawings.h"
#include "plot/plot_layout.h"
#include "plot/simulation_painter.h"
#include "report/feedline_report.h"
#include "report/simulation_phrases.h"
#include "report/simulation_report.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <string>

namespace tarvix {

namespace {

namespace phrases = simulation_phrases;

// The page is laid out in points, as PDF measures paper.
constexpr double kPointsPerInch = 72;
constexpr double kMarginPt = 36;
constexpr double kSectionGapPt = 7;
constexpr double kAntennaDrawingPt = 102;
constexpr double kCoilDrawingPt = 78;
constexpr double kHangDrawingPt = 84;
// The plot is painted on a canvas of the file plot's width and scaled down
// into its rectangle, so that its lettering keeps its proportions.
constexpr double kPlotCanvasWidth = kPlotWidth;

std::string formerName(CoilFormer former) {
    switch (former) {
    case CoilFormer::pvcPipe:
        return "PVC pipe";
    case CoilFormer::air:
        return "air-wound (self-supporting)";
    case CoilFormer::solidRod:
        return "solid rod";
    }
    return coilFormerName(former);
}

std::string antennaWireName(const DesignInputs& inputs) {
    if (!inputs.antennaWire) {
        return "SWG " + inputs.antennaSwgText;
    }
    if (inputs.antennaWire->awg) {
        return "AWG " + std::to_string(*inputs.antennaWire->awg);
    }
    return phrases::coilText(inputs.antennaWire->diameterIn, inputs.units, 3) + " wire";
}

// Text down the page from a cursor, each block as wide as the page allows.
class Column {
public:
    Column(QPainter& painter, QRectF area) : m_painter(painter), m_area(area), m_y(area.top()) {}

    double y() const { return m_y; }
    double left() const { return m_area.left(); }
    double width() const { return m_area.width(); }
    double bottom() const { return m_area.bottom(); }
    void skip(double points) { m_y += points; }

    void paragraph(const QFont& font, const std::string& words) {
        m_painter.setFont(font);
        const QRectF room(m_area.left(), m_y, m_area.width(), m_area.bottom() - m_y);
        QRectF used;
        m_painter.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, plotText(words),
                           &used);
        m_y += used.height();
    }

    // A row of a table: each cell starts at its column's left edge, on one
    // line, so that a number is never split.
    void row(const QFont& font, const std::vector<std::pair<double, std::string>>& cells) {
        m_painter.setFont(font);
        const QFontMetricsF metrics(font, m_painter.device());
        for (const auto& [at, words] : cells) {
            m_painter.drawText(QPointF(m_area.left() + at, m_y + metrics.ascent()),
                               plotText(words));
        }
        m_y += metrics.lineSpacing() + 2;
    }

    double heightOf(const QFont& font, const std::string& words) const {
        const QFontMetricsF metrics(font, m_painter.device());
        return metrics
            .boundingRect(QRectF(0, 0, m_area.width(), 10000),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, plotText(words))
            .height();
    }

private:
    QPainter& m_painter;
    QRectF m_area;
    double m_y;
};

struct Fonts {
    QFont title, heading, body, small;
};

Fonts sheetFonts() {
    Fonts fonts;
    fonts.body.setFamily(QStringLiteral("sans-serif"));
    fonts.body.setPointSizeF(9);
    fonts.small = fonts.body;
    fonts.small.setPointSizeF(7.5);
    fonts.heading = fonts.body;
    fonts.heading.setPointSizeF(11);
    fonts.heading.setBold(true);
    fonts.title = fonts.heading;
    fonts.title.setPointSizeF(14);
    return fonts;
}

std::string inputsText(const DesignResult& design, const SimulationOptions& options,
                       const CoilBuild& build) {
    const DesignInputs& inputs = design.inputs;
    const Units units = inputs.units;
    const std::string unit = antennaUnitName(units);
    return "F " + numberText(inputs.freqMHz) + " MHz; A " +
           numberText(antennaUnitFromFeet(inputs.totalLengthFt, units)) + " " + unit +
           " tip to tip; B " + numberText(antennaUnitFromFeet(inputs.centreToCoilFt, units)) + " " +
           unit + " from the feed point to each coil's centre; antenna wire " +
           antennaWireName(inputs) + "; coil former " + formerName(build.former) + ", " +
           numberText(coilUnitFromInches(build.formerDiaIn, units)) + " " + coilUnitName(units) +
           " across; coil wire " +
           (build.wireName.empty() ? phrases::coilText(build.wireDiaIn, units, 3)
                                   : build.wireName) +
           "; modelled as " + phrases::surroundings(options, units) + "; feed line " +
           numberText(options.z0Ohm) + " ohm. Lengths in " +
           (units == Units::Metric ? "metres, coil sizes in millimetres."
                                   : "feet and inches, coil sizes in inches.");
}

void paintCutList(Column& column, const Fonts& fonts, const DesignInputs& inputs,
                  const WoundCoil& coil, const CoilBuild& build) {
    const Units units = inputs.units;
    const CoilWinding& w = coil.winding;
    column.paragraph(fonts.heading, "What to cut and wind");
    column.skip(3);
    const std::optional<CutList> cut = cutList(inputs.totalLengthFt, inputs.centreToCoilFt, w);
    constexpr double kCountAt = 110;
    constexpr double kValueAt = 165;
    if (cut) {
        column.row(
            fonts.body,
            {{0, "Feed point to coil"},
             {kCountAt, "2 pieces"},
             {kValueAt,
              cut->feedToCoilFt
                  ? "cut " + phrases::wireLengthText(*cut->feedToCoilFt * kInchesPerFoot, units) +
                        " each"
                  : "none: each coil starts at the feed point"}});
        column.row(
            fonts.body,
            {{0, "Coil to tip"},
             {kCountAt, "2 pieces"},
             {kValueAt, "cut " + phrases::wireLengthText(cut->coilToTipFt * kInchesPerFoot, units) +
                            " each"}});
    } else {
        column.paragraph(fonts.body, "The coils as wound reach past the tips: no cut list.");
    }
    const std::string former = numberText(coilUnitFromInches(build.formerDiaIn, units)) + " " +
                               coilUnitName(units) + " " + formerName(build.former);
    column.row(fonts.body,
               {{0, "Coil"},
                {kCountAt, "2 coils"},
                {kValueAt, phrases::turnsText(w.turns) + " turns on the " + former +
                               ", spread to " + phrases::coilText(w.turns * w.pitchIn, units, 2) +
                               " (pitch " + phrases::coilText(w.pitchIn, units, 4) + ")"}});
    column.row(
        fonts.body,
        {{0, "Coil wire"},
         {kCountAt, "2 pieces"},
         {kValueAt, (build.wireName.empty() ? phrases::coilText(build.wireDiaIn, units, 3) + " wire"
                                            : build.wireName) +
                        ": cut " + phrases::wireLengthText(coilWireToCutIn(w), units) + " each"}});
    column.skip(3);
    const std::string allowance = phrases::endLengthText(kWireEndAllowanceIn, units);
    column.paragraph(fonts.small,
                     "Each antenna piece includes " + allowance +
                         " at each end for its loop (through an insulator or round a coil's "
                         "terminal, wrapped back on itself); each coil's wire, " +
                         phrases::endLengthText(kCoilLeadIn, units) +
                         " for each lead. B runs from the feed point to each coil's centre: a "
                         "coil takes half its length from the wire either side.");
}

std::string expectationText(double freqMHz, const SimulationOptions& options,
                            const SimulationResult& result) {
    const SimulatedAntenna& antenna = result.corrected;
    std::string words = antenna.resonanceMHz ? "Resonance at " + phrases::mhz(*antenna.resonanceMHz)
                                             : std::string("No resonance within the sweep");
    if (result.swr2Band) {
        words += "; 2:1 SWR from ";
        words += result.swr2Band->lowMHz ? phrases::mhz(*result.swr2Band->lowMHz)
                                         : std::string("below the sweep");
        words += " to ";
        words += result.swr2Band->highMHz ? phrases::mhz(*result.swr2Band->highMHz)
                                          : std::string("above the sweep");
    } else {
        words += "; the SWR never comes down to 2:1";
    }
    words += "; SWR " + phrases::swrText(antenna.atF.swr) + " at " + numberText(freqMHz) +
             " MHz (feed point " + phrases::impedance(antenna.atF) + "); radiation efficiency " +
             (antenna.efficiencyPercent >= phrases::kLeastEfficiencyPercent
                  ? fixedText(antenna.efficiencyPercent, 1) + " %"
                  : "below " + numberText(phrases::kLeastEfficiencyPercent) + " %") +
             ".";
    if (const std::string rig = rigExpectationText(options, result, freqMHz); !rig.empty()) {
        words += " " + rig;
    }
    return words;
}

void paintPlot(QPainter& painter, QRectF area, double freqMHz, const SimulationOptions& options,
               const SimulationResult& result) {
    const double scale = area.width() / kPlotCanvasWidth;
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    paintSimulationPlot(painter, QSizeF(kPlotCanvasWidth, area.height() / scale), freqMHz, options,
                        result);
    painter.restore();
}

} // namespace

QSizeF buildSheetPageSize(Units units) {
    return QPageSize(units == Units::Metric ? QPageSize::A4 : QPageSize::Letter)
        .size(QPageSize::Point);
}

void paintBuildSheet(QPainter& painter, const DesignResult& design,
                     const SimulationOptions& options, const SimulationResult& result) {
    const DesignInputs& inputs = design.inputs;
    const WoundCoil& coil = result.build.value();
    const CoilBuild& build = options.build.value();
    const QSizeF page = buildSheetPageSize(inputs.units);
    painter.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
    painter.setPen(QColor(30, 30, 30));
    const Fonts fonts = sheetFonts();
    Column column(painter, QRectF(kMarginPt, kMarginPt, page.width() - 2 * kMarginPt,
                                  page.height() - 2 * kMarginPt));

    column.paragraph(fonts.title,
                     "Loaded dipole for " + numberText(inputs.freqMHz) + " MHz: build sheet");
    column.skip(3);
    column.paragraph(fonts.body, inputsText(design, options, build));
    column.skip(kSectionGapPt);
    paintCutList(column, fonts, inputs, coil, build);
    column.skip(kSectionGapPt);

    const double coilLengthIn = coil.winding.turns * coil.winding.pitchIn;
    const AntennaDrawing drawing =
        antennaDrawing(inputs.totalLengthFt, inputs.centreToCoilFt, coilLengthIn,
                       column.left() + kInsulatorRoomPt, column.width() - 2 * kInsulatorRoomPt);
    column.paragraph(fonts.heading,
                     "The antenna, to scale (1 : " +
                         fixedText(kInchesPerFoot * kPointsPerInch / drawing.pointsPerFoot, 0) +
                         " on the printed page)");
    paintAntennaDrawing(
        painter, fonts.small, QRectF(column.left(), column.y(), column.width(), kAntennaDrawingPt),
        drawing, inputs, cutList(inputs.totalLengthFt, inputs.centreToCoilFt, coil.winding));
    column.skip(kAntennaDrawingPt);
    if (options.model.heightFt) {
        column.paragraph(fonts.heading, "As hung, seen from the side (to one scale)");
        paintHangDrawing(painter, fonts.small,
                         QRectF(column.left(), column.y(), column.width(), kHangDrawingPt), inputs,
                         options.model, result.apexAngleDeg);
        column.skip(kHangDrawingPt);
    }
    column.paragraph(fonts.heading, "One coil (not to the antenna's scale)");
    paintCoilDrawing(painter, fonts.small,
                     QRectF(column.left(), column.y(), column.width(), kCoilDrawingPt), coil, build,
                     inputs.units);
    column.skip(kCoilDrawingPt + kSectionGapPt);

    const std::string bench = "Across one coil before it is fitted, " +
                              phrases::benchText(coil, inputs.freqMHz) + ". " +
                              phrases::selfResonanceWarning(coil, inputs.freqMHz);
    const std::string expect = expectationText(inputs.freqMHz, options, result);
    column.paragraph(fonts.heading, "What to expect");
    column.paragraph(fonts.body, expect);
    const double benchHeight =
        column.heightOf(fonts.heading, "Bench") + column.heightOf(fonts.body, bench);
    const double plotHeight = column.bottom() - column.y() - benchHeight - 2 * kSectionGapPt;
    paintPlot(painter,
              QRectF(column.left(), column.y() + kSectionGapPt / 2, column.width(), plotHeight),
              inputs.freqMHz, options, result);
    column.skip(plotHeight + kSectionGapPt);
    column.paragraph(fonts.heading, "Bench check");
    column.paragraph(fonts.body, bench);
}

std::optional<QByteArray> buildSheetDocument(bool pdf, const DesignResult& design,
                                             const SimulationOptions& options,
                                             const SimulationResult& result) {
    const Units units = design.inputs.units;
    const QSizeF page = buildSheetPageSize(units);
    const QString title = QStringLiteral("Loaded dipole for %1 MHz: build sheet")
                              .arg(plotText(numberText(design.inputs.freqMHz)));
    QBuffer device;
    device.open(QIODevice::WriteOnly);
    const auto paintOn = [&](QPaintDevice& target) {
        QPainter painter;
        if (!painter.begin(&target)) {
            return false;
        }
        paintBuildSheet(painter, design, options, result);
        return painter.end();
    };
    bool painted = false;
    if (pdf) {
        QPdfWriter writer(&device);
        writer.setPageLayout(
            QPageLayout(QPageSize(units == Units::Metric ? QPageSize::A4 : QPageSize::Letter),
                        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        // One device unit is one point, as the page is laid out.
        writer.setResolution(static_cast<int>(kPointsPerInch));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("tarvix-design"));
        painted = paintOn(writer);
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&device);
        svg.setResolution(static_cast<int>(kPointsPerInch));
        svg.setSize(page.toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), page));
        svg.setTitle(title);
        svg.setDescription(QStringLiteral("Drawn by tarvix-design --sheet"));
        painted = paintOn(svg);
    }
    if (!painted) {
        return std::nullopt;
    }
    return device.data();
}

} // namespace tarvix
