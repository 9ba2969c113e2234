#include "prelix10/command/printer/Rectangle.hpp"

#include <algorithm>
#include <cstdint>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"
#include "prelix10/command/printer/PageModeElementBand.hpp"
#include "prelix10/command/printer/RuledLine.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

constexpr double maxPositionMm = 300.0;
constexpr double maxSideMm = 300.0;
constexpr double maxThicknessMm = 10.0;
constexpr double maxRadiusMm = 30.0;
// Far beyond any radius a page can hold; keeps a corner image to a bounded size.
constexpr int maxCornerDots = 4096;

double coefficientOf(PrinterModel model) {
    return MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
}

int toDots(double mm, PrinterModel model) {
    return MathUtil::mmToDotRound(mm, coefficientOf(model), BaseMagnificationType::Standard);
}

void line(ByteBuffer* buffer, double x1, double y1, double x2, double y2, double thickness,
          PrintSettingsInformation* settings, PrinterModel model) {
    RuledLine::orvoPageModeCommon(buffer, x1, y1, x2, y2, thickness, LineStyle::Single, settings, model);
}

}  // namespace

void Rectangle::orvoPageModeCommon(ByteBuffer* buffer, double x, double y, double width, double height,
                                   double thickness, LineStyle lineStyle, bool roundCorner,
                                   double cornerRadius, PrintSettingsInformation* settings,
                                   PrinterModel model) {
    if (buffer == nullptr || settings == nullptr || !settings->isPageMode) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    if (!(x <= maxPositionMm) || !(y <= maxPositionMm)) return;
    if (!(width > 0 && width <= maxSideMm) || !(height > 0 && height <= maxSideMm)) return;
    if (!(thickness > 0) || (roundCorner && !(cornerRadius >= 0))) return;

    const bool doubled = lineStyle == LineStyle::Double;
    const bool rounded = roundCorner && cornerRadius != 0;
    const double t = std::min(thickness, maxThicknessMm);
    const double r = rounded ? std::min(cornerRadius, maxRadiusMm) : 0.0;
    // Room for the outlines (a double outline is line, gap, line on each side).
    const double outline = doubled ? 6 * t : 2 * t;
    if (outline > width || outline > height) return;
    if (rounded && (2 * r > width || 2 * r > height || r < (doubled ? 3 * t : t))) return;

    const double X = std::max(x, 0.0);
    const double Y = std::max(y, 0.0);
    const double c = coefficientOf(model);
    // Thickness and radius snapped to whole dots, so that lines and corners meet.
    const double T = c * toDots(t, model);
    const double Q = c * toDots(r, model);

    if (doubled) {
        const double g = rounded ? 0.0 : 2 * T;
        line(buffer, X + Q + g, Y + 2 * T, X + width - Q - g, Y + 2 * T, T, settings, model);
        line(buffer, X + 2 * T, Y + Q + g, X + 2 * T, Y + height - Q - g, T, settings, model);
        line(buffer, X + Q + g, Y + height - 3 * T, X + width - Q - g, Y + height - 3 * T, T, settings,
             model);
        line(buffer, X + width - 3 * T, Y + Q + g, X + width - 3 * T, Y + height - Q - g, T, settings, model);
    }
    line(buffer, X + Q, Y, X + width - Q, Y, T, settings, model);
    line(buffer, X, Y + Q, X, Y + height - Q, T, settings, model);
    line(buffer, X + Q, Y + height - T, X + width - Q, Y + height - T, T, settings, model);
    line(buffer, X + width - T, Y + Q, X + width - T, Y + height - Q, T, settings, model);

    if (rounded) {
        roundCornerLineOrvoPageModeCommon(buffer, CornerPosition::TopLeft, lineStyle, settings, model, X, Y,
                                          T, Q);
        roundCornerLineOrvoPageModeCommon(buffer, CornerPosition::BottomLeft, lineStyle, settings, model, X,
                                          Y + height - Q, T, Q);
        roundCornerLineOrvoPageModeCommon(buffer, CornerPosition::BottomRight, lineStyle, settings, model,
                                          X + width - Q, Y + height - Q, T, Q);
        roundCornerLineOrvoPageModeCommon(buffer, CornerPosition::TopRight, lineStyle, settings, model,
                                          X + width - Q, Y, T, Q);
    }
}

void Rectangle::roundCornerLineOrvoPageModeCommon(ByteBuffer* buffer, CornerPosition corner,
                                                  LineStyle lineStyle, PrintSettingsInformation* settings,
                                                  PrinterModel model, double x, double y, double thickness,
                                                  double radius) {
    if (buffer == nullptr || settings == nullptr) return;
    const int R = toDots(radius, model);
    const int t = toDots(thickness, model);
    PageModeElementBand band(buffer, settings, model);
    if (!band.open(x, y, radius, radius)) return;
    const auto image = createRoundCornerImage(corner, lineStyle, R, t);
    const auto size = static_cast<int>(image.size());
    band.sendBands(std::max(R, 0), R, true, [&](int bandIndex, int column) {
        std::uint32_t bits = 0;
        for (int k = 0; k < 24; ++k) {
            const int row = bandIndex * 24 + k;
            const bool set = row < size && column < size &&
                             image[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            bits = (bits << 1) | (set ? 1u : 0u);
        }
        return bits;
    });
    band.close(x + radius, y);
}

std::vector<std::vector<bool>> Rectangle::createRoundCornerImage(CornerPosition corner, LineStyle lineStyle,
                                                                 int radius, double thickness) {
    if (radius < 1 || radius > maxCornerDots || !(thickness >= 0) || thickness > maxCornerDots) return {};
    const int R = radius;
    const int M = (R + 23) / 24 * 24;
    std::vector<std::vector<bool>> image(static_cast<std::size_t>(M),
                                         std::vector<bool>(static_cast<std::size_t>(M)));
    int centreColumn = 0;
    int centreRow = 0;
    switch (corner) {
        case CornerPosition::TopLeft:
            centreColumn = R - 1;
            centreRow = R - 1;
            break;
        case CornerPosition::TopRight:
            centreColumn = 0;
            centreRow = R - 1;
            break;
        case CornerPosition::BottomLeft:
            centreColumn = R - 1;
            centreRow = 0;
            break;
        case CornerPosition::BottomRight:
            break;
    }
    // Arc radii in whole dots: the outer arc from R - t to R, the inner one of a double outline
    // from C - t to C, C = R - 2t.
    const auto whole = [](double value) { return static_cast<std::int64_t>(value); };
    const std::int64_t A = whole(R - thickness);
    const std::int64_t C = whole(R - 2 * thickness);
    const std::int64_t B = whole(static_cast<double>(C) - thickness);
    const std::int64_t outer = static_cast<std::int64_t>(R) * R;
    for (int i = 0; i < R; ++i) {
        for (int j = 0; j < R; ++j) {
            const std::int64_t di = i - centreRow;
            const std::int64_t dj = j - centreColumn;
            const std::int64_t D = di * di + dj * dj;
            bool set = A * A <= D && D < outer;
            if (lineStyle == LineStyle::Double && B * B <= D && D < C * C) set = true;
            image[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = set;
        }
    }
    return image;
}

}  // namespace PrinterCommandBuilder::Printer
