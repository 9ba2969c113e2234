#pragma once

#include <string>
#include <vector>

#include "prelix10/command/PrinterModel.hpp"

namespace PrinterCommandBuilder {

// Turns a compiler model name into the model number (exact, case-sensitive).
class PrinterModelFactory {
  public:
    explicit PrinterModelFactory(const std::string& name);
    PrinterModel create() const { return model_; }
    // Every name the factory takes, in name order.
    static std::vector<std::string> names();

  private:
    PrinterModel model_ = PrinterModel::Unknown;
};

}  // namespace PrinterCommandBuilder
