#include "command/presenter/PresenterLed.hpp"

namespace PrinterCommandBuilder::Presenter {

void PresenterLed::kestrin(ByteBuffer*, LedType, int, int, PrinterModel, PresenterSettingsInformation*) {}

void PresenterLed::orvoLine(ByteBuffer*, LedType, int, int, PrinterModel, PresenterSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Presenter
