#pragma once

#include <memory>
#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

// Makes the root builder of an emulation named exactly "Kestrin", "OrvoLine", "OrvoGraphic",
// "OrvoDot", "OrvoYalme1", "EscPos" or "EscPosMobile"; any other name makes none.
class BuilderFactory {
  public:
    BuilderFactory(const std::string& emulation, ByteBuffer* buffer, PrinterModel model);

    // The root made by the constructor, or null; ownership passes to the caller on the first call.
    std::unique_ptr<RootBuilder> create();

  private:
    std::unique_ptr<RootBuilder> root_;
};

}  // namespace PrinterCommandBuilder
