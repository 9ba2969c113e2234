#include "command/presenter/LedMode.hpp"

namespace PrinterCommandBuilder::Presenter {

void LedMode::kestrin(ByteBuffer*, PrinterModel, PresenterSettingsInformation*) {}

void LedMode::orvoLine(ByteBuffer*, PrinterModel, PresenterSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Presenter
