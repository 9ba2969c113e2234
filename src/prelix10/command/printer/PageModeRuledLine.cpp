// The page-mode members of RuledLine: straight lines placed by coordinates in a page-mode area.
#include <algorithm>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"
#include "prelix10/command/printer/PageModeElementBand.hpp"
#include "prelix10/command/printer/RuledLine.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {
constexpr double maxThicknessMm = 10.0;
constexpr double maxLengthMm = 300.0;
}  // namespace

void RuledLine::orvoPageModeCommon(ByteBuffer* buffer, double x1, double y1, double x2, double y2,
                                   double thickness, LineStyle lineStyle, PrintSettingsInformation* settings,
                                   PrinterModel model) {
    if (buffer == nullptr || settings == nullptr || !settings->isPageMode) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    if (!(x2 >= x1) || !(y2 >= y1) || !(thickness >= 0)) return;
    const double t = std::min(thickness, maxThicknessMm);
    const bool doubled = lineStyle == LineStyle::Double;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (dx > 0 && y2 == y1) {
        if (dx > maxLengthMm) return;
        // The second line of a double line lies below the first, and is drawn first.
        if (doubled) createSingleLineOrvoPageModeCommon(buffer, x1, y1 + 2 * t, dx, t, settings, model);
        createSingleLineOrvoPageModeCommon(buffer, x1, y1, dx, t, settings, model);
    } else if (x2 == x1 && dy > 0) {
        if (dy > maxLengthMm) return;
        createSingleLineOrvoPageModeCommon(buffer, x1, y1, t, dy, settings, model);
        if (doubled) createSingleLineOrvoPageModeCommon(buffer, x1 + 2 * t, y1, t, dy, settings, model);
    }
    // Slanted lines and lines of length 0 are not drawn.
}

void RuledLine::createSingleLineOrvoPageModeCommon(ByteBuffer* buffer, double x, double y, double width,
                                                   double height, PrintSettingsInformation* settings,
                                                   PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    PageModeElementBand band(buffer, settings, model);
    if (!band.open(x, y, width, height)) return;
    const double c = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
    const int columns = MathUtil::mmToDotRound(width, c, BaseMagnificationType::Standard);
    band.sendBands(std::max(columns, 0), columns, true, [](int, int) { return 0xFFFFFFu; });
    band.close(x + width, y);
}

}  // namespace PrinterCommandBuilder::Printer
