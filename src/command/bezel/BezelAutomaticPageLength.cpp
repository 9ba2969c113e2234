#include "command/bezel/BezelAutomaticPageLength.hpp"

namespace PrinterCommandBuilder::Bezel {

void BezelAutomaticPageLength::kestrin(ByteBuffer*, bool, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Bezel
