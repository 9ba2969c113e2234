#pragma once

#include "prelix10/command/presenter/Builder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "Presenter" category: presenter mode and LED blinking, for models with a presenter.
class PresenterElementParser : public ElementParser {
  public:
    explicit PresenterElementParser(PrinterCommandBuilder::Presenter::Builder* builder);
    ~PresenterElementParser() override = default;
};

}  // namespace VelmarCommandParser
