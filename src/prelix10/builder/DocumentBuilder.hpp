#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "prelix10/builder/BuzzerBuilder.hpp"
#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/DisplayBuilder.hpp"
#include "prelix10/builder/DrawerBuilder.hpp"
#include "prelix10/builder/MelodySpeakerBuilder.hpp"
#include "prelix10/builder/PrinterBuilder.hpp"
#include "prelix10/builder/PrinterParameters.hpp"

namespace Prelix10::VelmarCommand {

// One document: {"category": "Document", "contents": [...]}. Setting items stay ahead of every device
// category and raw item, in the order of the setting calls; everything else is appended.
class PRELIX10_EXPORT DocumentBuilder : public CategoryBuilder {
  public:
    DocumentBuilder();

    DocumentBuilder& settingTopMargin(double height);
    DocumentBuilder& settingBlackMark(const Printer::BlackMarkParameter& parameter);
    DocumentBuilder& settingLabel(const Printer::LabelParameter& parameter);
    DocumentBuilder& settingHoldPrint(const Printer::HoldPrintParameter& parameter);
    DocumentBuilder& settingPrintableArea(double width);

    DocumentBuilder& addPrinter(PrinterBuilder builder);
    DocumentBuilder& addDrawer(const DrawerBuilder& builder);
    DocumentBuilder& addBuzzer(const BuzzerBuilder& builder);
    DocumentBuilder& addMelodySpeaker(const MelodySpeakerBuilder& builder);
    DocumentBuilder& addDisplay(const DisplayBuilder& builder);
    // Bytes sent to the printer as they are ("Raw.Send", Base64 in the document).
    DocumentBuilder& addRaw(std::span<const std::uint8_t> data);

  private:
    DocumentBuilder& insertSetting(std::string_view method, JsonObjectRef parameter);

    std::shared_ptr<std::size_t> topContentsIndex_;
};

}  // namespace Prelix10::VelmarCommand
