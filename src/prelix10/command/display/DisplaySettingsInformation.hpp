#pragma once

#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// The display's text encoding, kept by each display builder.
class DisplaySettingsInformation {
  public:
    void copy(const DisplaySettingsInformation& other) { encode = other.encode; }

    Encode encode = Encode::CodePage;
};

}  // namespace PrinterCommandBuilder::Display
