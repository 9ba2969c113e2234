#pragma once

#include <cstdint>

#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Millimetres to printer dots. Results saturate at the 32-bit range; NaN gives 0.
class MathUtil {
  public:
    static double getMmToDotCoefficient(PrintResolution resolution);
    static std::int32_t mmToDotRound(double mm, double coefficient, BaseMagnificationType magnification);
    static std::int32_t mmToDotFloor(double mm, double coefficient, BaseMagnificationType magnification);
    static std::int32_t mmToDotCeil(double mm, double coefficient, BaseMagnificationType magnification);
    static std::int32_t mmToDot(double mm, double coefficient, BaseMagnificationType magnification,
                                DecimalPointCalcType type);
    // value rounded up to a multiple of a positive unit; 0 when unit is 0.
    static std::int32_t ceiling(std::int32_t value, std::int32_t unit);
    // A double converted to 32 bits: truncated toward zero, saturated, NaN as 0.
    static std::int32_t saturateToInt32(double value);
};

}  // namespace PrinterCommandBuilder::Printer
