#pragma once

#include <string>

#include "prelix10/command/PrinterModel.hpp"

namespace PrinterCommandBuilder {

// Turns a compiler model name into the model number (exact, case-sensitive).
class PrinterModelFactory {
  public:
    explicit PrinterModelFactory(const std::string& name);
    PrinterModel create() const { return model_; }

  private:
    PrinterModel model_ = PrinterModel::Unknown;
};

}  // namespace PrinterCommandBuilder
