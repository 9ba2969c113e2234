#pragma once

#include <cstddef>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"

namespace PrinterCommandBuilder {

// Common part of every device builder: the shared output and the model.
class BaseBuilder {
  public:
    BaseBuilder(ByteBuffer* buffer, PrinterModel model) : buffer_(buffer), model_(model) {}
    BaseBuilder(const BaseBuilder&) = delete;
    BaseBuilder& operator=(const BaseBuilder&) = delete;
    virtual ~BaseBuilder() = default;

    // The nesting depth of the category being entered or left; nothing unless overridden.
    virtual void notifyRank(std::size_t rank);

    PrinterModel getModel() const { return model_; }

  protected:
    ByteBuffer* buffer_;
    PrinterModel model_;
};

}  // namespace PrinterCommandBuilder
