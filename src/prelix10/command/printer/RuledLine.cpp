#include "prelix10/command/printer/RuledLine.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "prelix10/command/RasterCommands.hpp"
#include "prelix10/command/RunLengthEncoder.hpp"
#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

enum class LineEmulation { PagePrinter, DotImpact, Escpos, EscposMobile, Raster };

constexpr double maxThicknessMm = 10.0;
constexpr double dotImpactAcrossMm = 0.3;
constexpr double dotImpactDownMm = 0.3527778;
constexpr double dotImpactFeedMm = 0.176389;
constexpr double maxUnitFeedMm = 300.0;

std::uint8_t low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t high(int value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

int toDots(double mm, double coefficient) {
    return MathUtil::mmToDotRound(mm, coefficient, BaseMagnificationType::Standard);
}

double modelCoefficient(PrinterModel model) {
    return MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
}

// The emulation's unit feed of `mm` millimetres.
void appendUnitFeed(std::vector<std::uint8_t>& out, LineEmulation emulation, double mm, PrinterModel model) {
    double coefficient = 0.125;
    double minimum = 0.125;
    if (emulation == LineEmulation::PagePrinter) {
        coefficient = minimum = modelCoefficient(model);
    } else if (emulation == LineEmulation::DotImpact) {
        coefficient = dotImpactFeedMm;
        minimum = 0.176;
    }
    if (!(mm >= minimum)) return;
    const int dots = toDots(std::min(mm, maxUnitFeedMm), coefficient);
    if (dots <= 0) return;
    switch (emulation) {
        case LineEmulation::PagePrinter:
        case LineEmulation::DotImpact:
            RasterCommands::appendDotFeed(out, 0x49, static_cast<std::uint64_t>(dots));
            break;
        case LineEmulation::Escpos:
        case LineEmulation::EscposMobile:
            RasterCommands::appendDotFeed(out, 0x4A, static_cast<std::uint64_t>(dots));
            break;
        case LineEmulation::Raster:
            RasterCommands::appendRasterFeed(out, static_cast<std::uint64_t>(dots));
            break;
    }
}

void appendLine(std::vector<std::uint8_t>& out, LineEmulation emulation, double x, double width,
                double thickness, PrinterModel model) {
    if (emulation == LineEmulation::DotImpact) {
        RasterCommands::appendDotImpactLine(out, toDots(x, dotImpactAcrossMm),
                                            toDots(width, dotImpactAcrossMm),
                                            std::max(1, toDots(thickness, dotImpactDownMm)));
        return;
    }
    const double coefficient = emulation == LineEmulation::PagePrinter ? modelCoefficient(model) : 0.125;
    const std::vector<std::uint8_t> row =
        RasterCommands::lineRow(toDots(x, coefficient), toDots(width, coefficient));
    const int rows = std::max(1, toDots(thickness, coefficient));
    const int rowBytes = static_cast<int>(row.size());
    switch (emulation) {
        case LineEmulation::PagePrinter:
            out.insert(out.end(),
                       {0x1B, 0x1D, 0x53, 0x01, low(rowBytes), high(rowBytes), low(rows), high(rows), 0x00});
            for (int r = 0; r < rows; ++r) out.insert(out.end(), row.begin(), row.end());
            break;
        case LineEmulation::Escpos:
            out.insert(out.end(),
                       {0x1D, 0x76, 0x30, 0x00, low(rowBytes), high(rowBytes), low(rows), high(rows)});
            for (int r = 0; r < rows; ++r) out.insert(out.end(), row.begin(), row.end());
            break;
        case LineEmulation::EscposMobile: {
            std::vector<std::uint8_t> plain;
            plain.reserve(row.size() * static_cast<std::size_t>(rows));
            for (int r = 0; r < rows; ++r) plain.insert(plain.end(), row.begin(), row.end());
            out.insert(out.end(), {0x1B, 0x58, 0x33, low(rowBytes), low(rows)});
            RunLengthEncoder::encode(plain.data(), plain.size(), out);
            out.insert(out.end(), {0x1B, 0x58, 0x32, low(rows)});
            break;
        }
        case LineEmulation::Raster:
            for (int r = 0; r < rows; ++r) {
                out.insert(out.end(), {0x62, low(rowBytes), high(rowBytes)});
                out.insert(out.end(), row.begin(), row.end());
            }
            break;
        case LineEmulation::DotImpact:
            break;
    }
}

void createRuledLine(ByteBuffer* buffer, LineEmulation emulation, double x, double width, double thickness,
                     LineStyle lineStyle, PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!RuledLine::checkInvalidParameter(model, x, width, thickness)) return;
    thickness = std::min(thickness, maxThicknessMm);
    x = std::max(x, 0.0);
    std::vector<std::uint8_t> out;
    if (!settings->isLineHead) out.push_back(0x0A);
    appendLine(out, emulation, x, width, thickness, model);
    if (lineStyle == LineStyle::Double) {
        appendUnitFeed(out, emulation, thickness, model);
        appendLine(out, emulation, x, width, thickness, model);
    }
    appendUnitFeed(out, emulation, 1.0, model);
    buffer->add(out);
    settings->isLineHead = true;
}

}  // namespace

void RuledLine::orvoCommon(ByteBuffer* buffer, double x, double width, double thickness, LineStyle lineStyle,
                           PrintSettingsInformation* settings, PrinterModel model) {
    createRuledLine(buffer, LineEmulation::PagePrinter, x, width, thickness, lineStyle, settings, model);
}

void RuledLine::orvoDotImpact(ByteBuffer* buffer, double x, double width, double thickness,
                              LineStyle lineStyle, PrintSettingsInformation* settings, PrinterModel model) {
    createRuledLine(buffer, LineEmulation::DotImpact, x, width, thickness, lineStyle, settings, model);
}

void RuledLine::escpos(ByteBuffer* buffer, double x, double width, double thickness, LineStyle lineStyle,
                       PrintSettingsInformation* settings, PrinterModel model) {
    createRuledLine(buffer, LineEmulation::Escpos, x, width, thickness, lineStyle, settings, model);
}

void RuledLine::escposMobile(ByteBuffer* buffer, double x, double width, double thickness,
                             LineStyle lineStyle, PrintSettingsInformation* settings, PrinterModel model) {
    createRuledLine(buffer, LineEmulation::EscposMobile, x, width, thickness, lineStyle, settings, model);
}

void RuledLine::orvoGraphic(ByteBuffer* buffer, double x, double width, double thickness, LineStyle lineStyle,
                            PrintSettingsInformation* settings, PrinterModel model) {
    createRuledLine(buffer, LineEmulation::Raster, x, width, thickness, lineStyle, settings, model);
}

void RuledLine::orvoYalme1(ByteBuffer*, double, double, double, LineStyle, PrintSettingsInformation*,
                           PrinterModel) {}

bool RuledLine::checkInvalidParameter(PrinterModel model, double x, double width, double thickness) {
    // True when the line can be drawn. The paper limit is tested with x as it will be drawn (at
    // least 0); written this way NaN arguments fail too.
    const double limit = ModelChecker::getPrintResolution(model) == PrintResolution::Dpi300 ? 86.7 : 128.0;
    return width > 0 && thickness > 0 && std::max(x, 0.0) + width <= limit;
}

}  // namespace PrinterCommandBuilder::Printer
