#include "prelix10/command/printer/PageModeElementBand.hpp"

#include "prelix10/command/printer/BaseMagnification.hpp"
#include "prelix10/command/printer/HorizontalPositionBy.hpp"
#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"
#include "prelix10/command/printer/PageModeArea.hpp"
#include "prelix10/command/printer/VerticalPositionBy.hpp"

namespace PrinterCommandBuilder::Printer {

bool PageModeElementBand::open(double x, double y, double width, double height) {
    if (buffer_ == nullptr || settings_ == nullptr) return false;
    band_ = *settings_;
    enclosingArea_ = settings_->pageModeAreaSize;
    PageModeArea::orvoCommon(buffer_, AreaType::ElementBand, x, y, width, height, &band_, settings_, model_);
    const PageModeAreaSize& area = band_.pageModeAreaSize;
    if (area.type != AreaType::ElementBand || !area.isValid()) return false;
    // Raster rows are counted in dots of the standard base size.
    if (settings_->baseMagnification == BaseMagnificationType::X1_5) {
        BaseMagnification::orvoCommon(buffer_, BaseMagnificationType::Standard, settings_, model_);
        magnificationSwitched_ = true;
    }
    const double c = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model_));
    visibleRows_ = MathUtil::mmToDotRound(area.visibleLength, c, BaseMagnificationType::Standard);
    offsetRows_ = MathUtil::mmToDotRound(area.bandOffset, c, BaseMagnificationType::Standard);
    return true;
}

void PageModeElementBand::close(double right, double down) {
    if (magnificationSwitched_) {
        BaseMagnification::orvoCommon(buffer_, BaseMagnificationType::X1_5, settings_, model_);
        magnificationSwitched_ = false;
    }
    // The remembered area is already fitted into its own enclosing area: it goes out as it is.
    PrintSettingsInformation outside;
    PageModeArea::orvoCommon(buffer_, AreaType::Page, enclosingArea_.x, enclosingArea_.y,
                             enclosingArea_.width, enclosingArea_.height, &band_, &outside, model_);
    HorizontalPositionBy::kestrin(buffer_, right, settings_, model_);
    VerticalPositionBy::orvoCommon(buffer_, down, settings_, model_);
}

void PageModeElementBand::appendHeader(std::vector<std::uint8_t>& out, int headerColumns) const {
    const auto n = static_cast<std::uint16_t>(std::clamp(headerColumns, 0, 0xFFFF));
    out.insert(out.end(),
               {0x1B, 0x58, static_cast<std::uint8_t>(n & 0xFF), static_cast<std::uint8_t>(n >> 8)});
}

void PageModeElementBand::appendFeed(std::vector<std::uint8_t>& out, int rows) const {
    out.insert(out.end(), {0x1B, 0x49, static_cast<std::uint8_t>(std::clamp(rows, 0, 255))});
}

}  // namespace PrinterCommandBuilder::Printer
