#pragma once

namespace PrinterCommandBuilder::Printer {

// What a page-mode command may be given without a valid area.
class MethodCheckCondition {
  public:
    void setIsBeginPageMode(bool value) { isBeginPageMode_ = value; }
    void setIsPageModeAreaSize(bool value) { isPageModeAreaSize_ = value; }
    bool isBeginPageMode() const { return isBeginPageMode_; }
    bool isPageModeAreaSize() const { return isPageModeAreaSize_; }

  private:
    bool isBeginPageMode_ = false;
    bool isPageModeAreaSize_ = false;
};

}  // namespace PrinterCommandBuilder::Printer
