#pragma once

#include "prelix10/command/BaseBuilder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    // Ranks change nothing for this device.
    void notifyRank(std::size_t rank) override;
};

}  // namespace PrinterCommandBuilder::PreSetting
