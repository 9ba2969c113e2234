#include "prelix10/command/printer/PageModeAreaSize.hpp"

#include <algorithm>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

constexpr int bandDots = 24;

// The plain overlap of two rectangles; width or height come out zero or negative when they do
// not overlap.
PageModeAreaSize intersect(AreaType type, const PageModeAreaSize& a, const PageModeAreaSize& b) {
    const double x = std::max(a.x, b.x);
    const double y = std::max(a.y, b.y);
    const double width = std::min(a.x + a.width, b.x + b.width) - x;
    const double height = std::min(a.y + a.height, b.y + b.height) - y;
    return PageModeAreaSize(type, x, y, width, height);
}

}  // namespace

bool PageModeAreaSize::isValid() const {
    if (type == AreaType::ElementBand) return width > 0.0 && height > 0.0;
    return width >= 3.0 && height >= 3.0;
}

PageModeAreaSize PageModeAreaSize::getUnion(const PageModeAreaSize& requested, PrintDirection direction,
                                            PrinterModel model) const {
    const PageModeAreaSize& enclosing = *this;
    if (requested.type != AreaType::ElementBand) return intersect(requested.type, enclosing, requested);

    const double c = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
    const auto dots = [c](double mm) {
        return MathUtil::mmToDotRound(mm, c, BaseMagnificationType::Standard);
    };
    const double across = std::max(requested.x, 0.0);
    const double down = std::max(requested.y, 0.0);
    const double w = requested.width;
    const double h = requested.height;
    const PageModeAreaSize& e = enclosing;

    // The element on the page: its offsets are measured from the area's origin as the print
    // direction sees it, and the two rotated directions swap its width and height.
    PageModeAreaSize placed(AreaType::ElementBand, e.x + across, e.y + down, w, h);
    switch (direction) {
        case PrintDirection::TopToBottom:
            placed = PageModeAreaSize(AreaType::ElementBand, e.x + e.width - down - h, e.y + across, h, w);
            break;
        case PrintDirection::RightToLeft:
            placed = PageModeAreaSize(AreaType::ElementBand, e.x + e.width - across - w,
                                      e.y + e.height - down - h, w, h);
            break;
        case PrintDirection::BottomToTop:
            placed = PageModeAreaSize(AreaType::ElementBand, e.x + down, e.y + e.height - across - w, h, w);
            break;
        default:
            break;
    }

    const PageModeAreaSize visible = intersect(AreaType::ElementBand, placed, e);
    // Written so that NaN lengths fall out as well.
    if (!(visible.width > 0.0) || !(visible.height > 0.0))
        return PageModeAreaSize(AreaType::ElementBand, 0, 0, 0, 0);

    const bool horizontalAxis =
        direction == PrintDirection::TopToBottom || direction == PrintDirection::BottomToTop;
    const double length = horizontalAxis ? visible.width : visible.height;
    // The printer takes rows in bands of 24: the band is at least 24 dots long, and an element
    // longer than that is padded up to the next multiple of 24.
    const double band = c * std::max(dots(length), bandDots);
    const int paddedDots = MathUtil::ceiling(dots(band), bandDots);
    const double padding = length > bandDots * c ? c * paddedDots - length : 0.0;
    const double tolerance = c - 0.001;

    PageModeAreaSize result(AreaType::ElementBand, visible.x, visible.y, visible.width, visible.height,
                            length, padding);
    switch (direction) {
        case PrintDirection::TopToBottom: {
            double start = visible.x + length - band;
            if (start + tolerance < e.x) {
                result.bandOffset = e.x - start;
                start = e.x;
            }
            result.x = start;
            result.width = band;
            break;
        }
        case PrintDirection::RightToLeft: {
            double start = visible.y + length - band;
            if (start + tolerance < e.y) {
                result.bandOffset = e.y - start;
                start = e.y;
            }
            result.y = start;
            result.height = band;
            break;
        }
        case PrintDirection::BottomToTop: {
            double start = visible.x;
            if (visible.x + band > e.x + e.width + tolerance) {
                result.bandOffset = visible.x + band - (e.x + e.width);
                start = visible.x - result.bandOffset;
            }
            result.x = start;
            result.width = band;
            break;
        }
        default: {
            double start = visible.y;
            if (visible.y + band > e.y + e.height + tolerance) {
                result.bandOffset = visible.y + band - (e.y + e.height);
                start = visible.y - result.bandOffset;
            }
            result.y = start;
            result.height = band;
            break;
        }
    }
    return result;
}

}  // namespace PrinterCommandBuilder::Printer
