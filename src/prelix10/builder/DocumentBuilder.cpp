#include "prelix10/builder/DocumentBuilder.hpp"

#include "prelix10/builder/Base64.hpp"

namespace Prelix10::VelmarCommand {

DocumentBuilder::DocumentBuilder()
    : CategoryBuilder("Document", false), topContentsIndex_(std::make_shared<std::size_t>(0)) {}

DocumentBuilder& DocumentBuilder::insertSetting(std::string_view method, JsonObjectRef parameter) {
    if (insertMethod(*topContentsIndex_, method, std::move(parameter))) ++*topContentsIndex_;
    return *this;
}

DocumentBuilder& DocumentBuilder::settingTopMargin(double height) {
    return insertSetting("Setting.TopMargin", JsonObject::make({{"height", height}}));
}

DocumentBuilder& DocumentBuilder::settingBlackMark(const Printer::BlackMarkParameter& parameter) {
    const auto position = jsonString(parameter.position());
    if (!position) return *this;
    return insertSetting("Setting.BlackMark", JsonObject::make({{"enable", parameter.enable()},
                                                                {"position", JsonLiteral{*position}}}));
}

DocumentBuilder& DocumentBuilder::settingLabel(const Printer::LabelParameter& parameter) {
    return insertSetting("Setting.Label", JsonObject::make({{"enable", parameter.enable()}}));
}

DocumentBuilder& DocumentBuilder::settingHoldPrint(const Printer::HoldPrintParameter& parameter) {
    return insertSetting("Setting.HoldPrint", JsonObject::make({{"enable", parameter.enable()}}));
}

DocumentBuilder& DocumentBuilder::settingPrintableArea(double width) {
    return insertSetting("Setting.PrintableArea", JsonObject::make({{"width", width}}));
}

DocumentBuilder& DocumentBuilder::addPrinter(PrinterBuilder builder) {
    builder.appendTemplateExtensionForParent();
    appendChild(builder);
    return *this;
}

DocumentBuilder& DocumentBuilder::addDrawer(const DrawerBuilder& builder) {
    appendChild(builder);
    return *this;
}

DocumentBuilder& DocumentBuilder::addBuzzer(const BuzzerBuilder& builder) {
    appendChild(builder);
    return *this;
}

DocumentBuilder& DocumentBuilder::addMelodySpeaker(const MelodySpeakerBuilder& builder) {
    appendChild(builder);
    return *this;
}

DocumentBuilder& DocumentBuilder::addDisplay(const DisplayBuilder& builder) {
    appendChild(builder);
    return *this;
}

DocumentBuilder& DocumentBuilder::addRaw(std::span<const std::uint8_t> data) {
    appendMethod("Raw.Send", JsonObject::make({{"content", base64Encode(data)}}));
    return *this;
}

}  // namespace Prelix10::VelmarCommand
