#pragma once

#include "command/presenter/Builder.hpp"
#include "compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "Presenter" category: presenter mode and LED blinking, for models with a presenter.
class PresenterElementParser : public ElementParser {
  public:
    explicit PresenterElementParser(PrinterCommandBuilder::Presenter::Builder* builder);
    ~PresenterElementParser() override = default;
};

}  // namespace VelmarCommandParser
