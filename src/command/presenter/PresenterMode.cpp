#include "command/presenter/PresenterMode.hpp"

namespace PrinterCommandBuilder::Presenter {

void PresenterMode::orvoCommon(ByteBuffer*, bool, bool, bool, int, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Presenter
