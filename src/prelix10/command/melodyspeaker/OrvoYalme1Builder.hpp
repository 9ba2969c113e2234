#pragma once

#include "prelix10/command/melodyspeaker/Builder.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

class OrvoYalme1Builder : public Builder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoYalme1Builder() override = default;

    void appendActionDriveRegisteredSound(Area area, int number, int volume, int reserved1, int reserved2,
                                          int reserved3) override;
    void appendActionDriveOneTimeSound(const std::string& source, int volume) override;
};

}  // namespace PrinterCommandBuilder::MelodySpeaker
