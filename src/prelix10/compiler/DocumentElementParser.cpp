#include "prelix10/compiler/DocumentElementParser.hpp"

#include "prelix10/compiler/BuzzerElementParser.hpp"
#include "prelix10/compiler/DeviceKeywords.hpp"
#include "prelix10/compiler/DisplayElementParser.hpp"
#include "prelix10/compiler/DrawerElementParser.hpp"
#include "prelix10/compiler/JsonUtil.hpp"
#include "prelix10/compiler/MelodySpeakerElementParser.hpp"
#include "prelix10/compiler/PrinterElementParser.hpp"

namespace VelmarCommandParser {

using json = DocumentTree;
using namespace ParameterReads;

DocumentElementParser::DocumentElementParser(PrinterCommandBuilder::RootBuilder* root)
    : ElementParser(root ? root->getDocumentBuilder() : nullptr, "Document") {
    if (root == nullptr) return;
    addOwnedChild(std::make_unique<BuzzerElementParser>(root->getBuzzerBuilder()));
    addOwnedChild(std::make_unique<DisplayElementParser>(root->getDisplayBuilder()));
    addOwnedChild(std::make_unique<DrawerElementParser>(root->getDrawerBuilder()));
    addOwnedChild(std::make_unique<MelodySpeakerElementParser>(root->getMelodySpeakerBuilder()));
    addOwnedChild(
        std::make_unique<PrinterElementParser>(root->getPrinterBuilder(), root->getPrinterPageModeBuilder()));

    PrinterCommandBuilder::Document::Builder* const b = root->getDocumentBuilder();
    if (b == nullptr) return;
    setContentsHandler("Setting.BlackMark", [b](const json* p) {
        bool notFound = false;
        const bool enable = JsonUtil::getBoolean(p, "enable", notFound);
        const auto position = keyword(p, "position", DeviceKeywords::blackMarkPosition(), notFound);
        if (!notFound) b->appendBlackMark(enable, false, position);
    });
    setContentsHandler("Setting.Label", [b](const json* p) {
        bool notFound = false;
        const bool enable = JsonUtil::getBoolean(p, "enable", notFound);
        if (!notFound) b->appendLabel(enable, false);
    });
    setContentsHandler("Setting.HoldPrint", [b](const json* p) {
        bool notFound = false;
        const bool enable = JsonUtil::getBoolean(p, "enable", notFound);
        if (!notFound) b->appendHoldPrint(enable);
    });
    setContentsHandler("Setting.PrintableArea", [b](const json* p) {
        bool notFound = false;
        const double width = JsonUtil::getDouble(p, "width", notFound);
        if (!notFound) b->appendPrintableArea(width);
    });
    setContentsHandler("Setting.TopMargin", [b](const json* p) {
        bool notFound = false;
        const int height = JsonUtil::getInt(p, "height", notFound);
        if (!notFound) b->appendTopMargin(height);
    });
    setContentsHandler("Raw.Send", [b](const json* p) {
        bool notFound = false;
        const std::string content = JsonUtil::getString(p, "content", notFound);
        if (!notFound) b->appendRaw(content);
    });
}

}  // namespace VelmarCommandParser
