#include "prelix10/command/printer/MathUtil.hpp"

#include <cmath>
#include <limits>

namespace PrinterCommandBuilder::Printer {

namespace {
double scaled(double mm, double coefficient, BaseMagnificationType magnification, double sign) {
    double value = (mm + sign * 0.001) / coefficient;
    if (magnification == BaseMagnificationType::X1_5) value /= 1.5;
    return value;
}
double signOf(double mm) {
    return mm < 0 ? -1.0 : 1.0;
}
}  // namespace

std::int32_t MathUtil::saturateToInt32(double value) {
    if (std::isnan(value)) return 0;
    constexpr double high = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    constexpr double low = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    if (value >= high) return std::numeric_limits<std::int32_t>::max();
    if (value <= low) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

double MathUtil::getMmToDotCoefficient(PrintResolution resolution) {
    return resolution == PrintResolution::Dpi300 ? 25.4 / 300.0 : 0.125;
}

std::int32_t MathUtil::mmToDotRound(double mm, double coefficient, BaseMagnificationType magnification) {
    return saturateToInt32(std::round(scaled(mm, coefficient, magnification, signOf(mm))));
}

std::int32_t MathUtil::mmToDotFloor(double mm, double coefficient, BaseMagnificationType magnification) {
    return saturateToInt32(std::trunc(scaled(mm, coefficient, magnification, signOf(mm))));
}

std::int32_t MathUtil::mmToDotCeil(double mm, double coefficient, BaseMagnificationType magnification) {
    return saturateToInt32(std::ceil(scaled(mm, coefficient, magnification, -signOf(mm))));
}

std::int32_t MathUtil::mmToDot(double mm, double coefficient, BaseMagnificationType magnification,
                               DecimalPointCalcType type) {
    switch (type) {
        case DecimalPointCalcType::Floor:
            return mmToDotFloor(mm, coefficient, magnification);
        case DecimalPointCalcType::Ceil:
            return mmToDotCeil(mm, coefficient, magnification);
        case DecimalPointCalcType::Round:
            break;
    }
    return mmToDotRound(mm, coefficient, magnification);
}

std::int32_t MathUtil::ceiling(std::int32_t value, std::int32_t unit) {
    if (unit == 0) return 0;
    const std::int64_t result =
        ((static_cast<std::int64_t>(value) + unit - 1) / unit) * static_cast<std::int64_t>(unit);
    if (result > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (result < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(result);
}

}  // namespace PrinterCommandBuilder::Printer
