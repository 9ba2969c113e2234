#pragma once

#include <string>

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/melodyspeaker/MelodySpeakerTypes.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    virtual void appendActionDriveRegisteredSound(Area area, int number, int volume, int reserved1,
                                                  int reserved2, int reserved3) = 0;
    virtual void appendActionDriveOneTimeSound(const std::string& source, int volume) = 0;
};

}  // namespace PrinterCommandBuilder::MelodySpeaker
