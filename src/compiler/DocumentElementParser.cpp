#include "compiler/DocumentElementParser.hpp"

#include "compiler/PrinterElementParser.hpp"

namespace VelmarCommandParser {

DocumentElementParser::DocumentElementParser(PrinterCommandBuilder::RootBuilder* root)
    : ElementParser(root ? root->getDocumentBuilder() : nullptr, "Document") {
    if (root == nullptr) return;
    addOwnedChild(
        std::make_unique<PrinterElementParser>(root->getPrinterBuilder(), root->getPrinterPageModeBuilder()));
}

}  // namespace VelmarCommandParser
