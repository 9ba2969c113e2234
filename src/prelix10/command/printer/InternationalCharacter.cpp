#include "prelix10/command/printer/InternationalCharacter.hpp"

#include <array>
#include <optional>

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

// The parameter byte per character set, indexed by the type's value.
constexpr std::array<std::uint8_t, 22> kPagePrinter = {0,  1,  2,  3,  4, 5, 6, 7, 8, 9,  10,
                                                       11, 12, 13, 14, 0, 0, 0, 0, 0, 18, 64};
constexpr std::array<std::uint8_t, 22> kEscpos = {0,  1,  2,  3, 4,  5,  6,  7,  8,  9,  10,
                                                  11, 12, 13, 0, 14, 14, 15, 16, 17, 18, 0};
constexpr std::array<std::uint8_t, 22> kEscposMobile = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10,
                                                        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

std::optional<std::uint8_t> lookUp(const std::array<std::uint8_t, 22>& table,
                                   InternationalCharacterType type) {
    const auto index = static_cast<std::int32_t>(type);
    if (index < 0 || index >= static_cast<std::int32_t>(table.size())) return std::nullopt;
    return table[static_cast<std::size_t>(index)];
}

void emit(ByteBuffer* buffer, const std::array<std::uint8_t, 22>& table, InternationalCharacterType type,
          PrintSettingsInformation* settings) {
    const auto n = lookUp(table, type);
    if (!n) return;
    buffer->add({0x1B, 0x52, *n});
    settings->internationalCharacter = type;
}

}  // namespace

void InternationalCharacter::orvoCommon(ByteBuffer* buffer, InternationalCharacterType type,
                                        PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    emit(buffer, kPagePrinter, type, settings);
}

void InternationalCharacter::escpos(ByteBuffer* buffer, InternationalCharacterType type,
                                    PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    emit(buffer, kEscpos, type, settings);
}

void InternationalCharacter::escposMobile(ByteBuffer* buffer, InternationalCharacterType type,
                                          PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    emit(buffer, kEscposMobile, type, settings);
}

void InternationalCharacter::orvoGraphic(ByteBuffer*, InternationalCharacterType, PrintSettingsInformation*,
                                         PrinterModel) {}

void InternationalCharacter::orvoYalme1(ByteBuffer*, InternationalCharacterType, PrintSettingsInformation*,
                                        PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
