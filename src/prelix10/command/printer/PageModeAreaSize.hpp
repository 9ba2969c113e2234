#pragma once

#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// A page-mode area (type 0) or the band around one drawn element (type 1), in millimetres.
class PageModeAreaSize {
  public:
    PageModeAreaSize() = default;
    PageModeAreaSize(AreaType type, double x, double y, double width, double height,
                     double visibleLength = 0.0, double bandOffset = 0.0)
        : type(type),
          x(x),
          y(y),
          width(width),
          height(height),
          visibleLength(visibleLength),
          bandOffset(bandOffset) {}

    // Element band: width and height above 0; page area: both at least 3 mm.
    bool isValid() const;
    // This is the enclosing area; the result is the requested area fitted into it.
    PageModeAreaSize getUnion(const PageModeAreaSize& requested, PrintDirection direction,
                              PrinterModel model) const;

    AreaType type = AreaType::Page;
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    double visibleLength = 0.0;
    double bandOffset = 0.0;
};

}  // namespace PrinterCommandBuilder::Printer
