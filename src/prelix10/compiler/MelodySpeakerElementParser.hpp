#pragma once

#include "prelix10/command/melodyspeaker/Builder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "MelodySpeaker" category: registered and one-time sounds, for models with a melody speaker.
class MelodySpeakerElementParser : public ElementParser {
  public:
    explicit MelodySpeakerElementParser(PrinterCommandBuilder::MelodySpeaker::Builder* builder);
    ~MelodySpeakerElementParser() override = default;
};

}  // namespace VelmarCommandParser
