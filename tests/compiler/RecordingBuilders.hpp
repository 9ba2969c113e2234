#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "prelix10/command/KestrinBuilder.hpp"
#include "prelix10/command/document/Builder.hpp"
#include "prelix10/command/presetting/Builder.hpp"
#include "prelix10/command/printer/PageModeBuilder.hpp"

// Builders that record every call they receive, as text, into one shared log.
namespace Recording {

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

using Log = std::vector<std::string>;

inline std::string rankText(std::size_t rank) {
    return rank == static_cast<std::size_t>(-1) ? std::string("all-ones") : std::to_string(rank);
}

template <typename... T>
std::string join(const std::string& name, const T&... values) {
    std::ostringstream out;
    out << name << "(";
    bool first = true;
    ((out << (first ? "" : ",") << values, first = false), ...);
    out << ")";
    return out.str();
}

inline int n(auto value) {
    return static_cast<int>(value);
}

class PrinterRecorder : public PageModeBuilder {
  public:
    // What a rank notification does besides being recorded: nothing, the printer builder's style
    // stack, or the page-mode builder's; the defaults and restores they send show up as calls.
    enum class Stack { none, printer, pageMode };

    PrinterRecorder(ByteBuffer* buffer, PrinterModel model, SettingsStack* stack, Log* log, std::string tag,
                    Stack keepStack = Stack::none)
        : Builder(buffer, model, stack),
          PageModeBuilder(buffer, model, stack),
          log_(log),
          tag_(std::move(tag)),
          keepStack_(keepStack) {}

    void notifyRank(std::size_t rank) override {
        put("rank", rankText(rank));
        if (keepStack_ == Stack::printer) Builder::notifyRank(rank);
        if (keepStack_ == Stack::pageMode) PageModeBuilder::notifyRank(rank);
    }
    SettingsStack& stack() { return *settingsStack_; }
    void appendCalculatePitch() override { put("appendCalculatePitch"); }
    void appendArea(double x, double y, double width, double height) override {
        put("appendArea", x, y, width, height);
    }
    void appendAlignment(AlignmentType type) override { put("appendAlignment", n(type)); }
    void appendBarcode(BarcodeType type, const std::string& content, bool hri, int barDots,
                       BarRatioLevel ratio, double height) override {
        put("appendBarcode", n(type), content, hri, barDots, n(ratio), height);
    }
    void appendImage(std::string_view source, int width, int height) override {
        put("appendImage", std::string(source), width, height);
    }
    void appendCut(CutType type) override { put("appendCut", n(type)); }
    void appendLineFeed(int lines) override { put("appendLineFeed", lines); }
    void appendLogo(const std::string& key, int width, int height) override {
        put("appendLogo", key, width, height);
    }
    void appendPdf417(const std::string& content, int line, int column, Pdf417EccLevel level, int module,
                      int aspect) override {
        put("appendPdf417", content, line, column, n(level), module, aspect);
    }
    void appendQrCode(const std::string& content, QrCodeModel model, QrCodeErrorCorrectionLevel level,
                      int cellSize) override {
        put("appendQrCode", content, n(model), n(level), cellSize);
    }
    void appendUnitFeed(double mm) override { put("appendUnitFeed", mm); }
    void appendSeparatorFeed() override { put("appendSeparatorFeed"); }
    void appendTextDecorationBold(bool enable) override { put("appendTextDecorationBold", enable); }
    void appendTextDecorationUnderLine(bool enable) override { put("appendTextDecorationUnderLine", enable); }
    void appendTextDecorationInvert(bool enable) override { put("appendTextDecorationInvert", enable); }
    void appendTextDecorationInternationalCharacter(InternationalCharacterType type) override {
        put("appendTextDecorationInternationalCharacter", n(type));
    }
    void appendTextDecorationFont(FontType type) override { put("appendTextDecorationFont", n(type)); }
    void appendTextDecorationCharacterSpace(double mm) override {
        put("appendTextDecorationCharacterSpace", mm);
    }
    void appendTextDecorationLineSpace(double mm) override { put("appendTextDecorationLineSpace", mm); }
    void appendTextDecorationExpansionRate(int width, int height) override {
        put("appendTextDecorationExpansionRate", width, height);
    }
    void appendTextDecorationSecondPriorityCharacterEncoding(VelmarCommandParser::Encode encode) override {
        put("appendTextDecorationSecondPriorityCharacterEncoding", n(encode));
    }
    void appendHorizontalPositionBy(double mm) override { put("appendHorizontalPositionBy", mm); }
    void appendHorizontalPositionTo(double mm) override { put("appendHorizontalPositionTo", mm); }
    void appendTextDecorationHorizontalTabPositions(const std::vector<int>& positions) override {
        std::string list;
        for (int p : positions) list += (list.empty() ? "" : " ") + std::to_string(p);
        put("appendTextDecorationHorizontalTabPositions", list);
    }
    void appendTextDecorationCjkCharacterPriority(const std::vector<Encode>& priority) override {
        std::string list;
        for (auto p : priority) list += (list.empty() ? "" : " ") + std::to_string(n(p));
        put("appendTextDecorationCjkCharacterPriority", list);
    }
    void appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType type) override {
        put("appendTextDecorationAmbiguousCharacterWidthType", n(type));
    }
    void appendDecorationBaseMagnification(BaseMagnificationType type) override {
        put("appendDecorationBaseMagnification", n(type));
    }
    void appendText(const std::string& content, TextWidthParameter w) override {
        if (!w.widthSpecified)
            put("appendText", content);
        else
            put("appendText", content, w.width, n(w.widthType), n(w.alignment), n(w.ellipsizeType),
                n(w.printType));
    }
    void appendRuledLine(double x, double width, double thickness, LineStyle style) override {
        put("appendRuledLine", x, width, thickness, n(style));
    }
    void beginPageMode() override { put("beginPageMode"); }
    void endPageMode(bool valid) override { put("endPageMode", valid); }
    void stylePrintDirection(PrintDirection direction) override { put("stylePrintDirection", n(direction)); }
    void styleVerticalPositionBy(double mm) override { put("styleVerticalPositionBy", mm); }
    void styleVerticalPositionTo(double mm) override { put("styleVerticalPositionTo", mm); }
    void appendRuledLine(double x1, double y1, double x2, double y2, double thickness,
                         LineStyle style) override {
        put("appendPageModeRuledLine", x1, y1, x2, y2, thickness, n(style));
    }
    void appendRectangle(double x, double y, double width, double height, double thickness, LineStyle style,
                         bool roundCorner, double radius) override {
        put("appendRectangle", x, y, width, height, thickness, n(style), roundCorner, radius);
    }
    void appendImage(std::string_view source, double x, double y, int width, int height) override {
        put("appendPageModeImage", std::string(source), x, y, width, height);
    }

  private:
    template <typename... T>
    void put(const std::string& name, const T&... values) {
        log_->push_back(tag_ + "." + join(name, values...));
    }
    Log* log_;
    std::string tag_;
    Stack keepStack_;
};

class DocumentRecorder : public Document::Builder {
  public:
    DocumentRecorder(ByteBuffer* buffer, PrinterModel model, Log* log)
        : Document::Builder(buffer, model), log_(log) {}
    void notifyRank(std::size_t rank) override { log_->push_back("Document.rank(" + rankText(rank) + ")"); }
    void appendBlackMark(bool, bool, Document::BlackMarkPosition) override {}
    void appendLabel(bool, bool) override {}
    void appendHoldPrint(bool) override {}
    void appendPrintableArea(double) override {}
    void appendTopMargin(int) override {}

  private:
    Log* log_;
};

// A Kestrin tree whose printer, page-mode and document builders record instead of emitting.
class RecordingRoot : public KestrinBuilder {
  public:
    RecordingRoot(ByteBuffer* buffer, PrinterModel model, Log* log) : KestrinBuilder(buffer, model) {
        printer_ = std::make_unique<PrinterRecorder>(buffer, model, &settingsStack_, log, "Printer");
        printerPageMode_ = std::make_unique<PrinterRecorder>(buffer, model, &settingsStack_, log, "PageMode");
        document_ = std::make_unique<DocumentRecorder>(buffer, model, log);
    }
};

}  // namespace Recording
