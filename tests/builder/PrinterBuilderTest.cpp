#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "prelix10/builder/PageModeBuilder.hpp"
#include "prelix10/builder/PrinterBuilder.hpp"
#include "builder/TestJson.hpp"

using namespace Prelix10;
using namespace Prelix10::VelmarCommand;
using json = nlohmann::ordered_json;
using Testing::written;

namespace {
json item(const char* method, json parameter = json::object()) {
    return json{{"method", method}, {"parameter", parameter}};
}
json contents(const CategoryBuilder& builder) {
    return written(builder.categoryObject())["contents"];
}
}  // namespace

TEST(PrinterBuilderTest, NewBuilderAndItemsInCallOrder) {
    PrinterBuilder printer;
    EXPECT_EQ(JSONBuilder().build(printer.categoryObject(), 0),
              "{\n\t\"category\": \"Printer\",\n\t\"parameters\": [\n\t],\n\t\"contents\": [\n\t]\n}");
    printer.styleAlignment(Printer::Alignment::Center)
        .actionPrintText("abc")
        .actionCut(Printer::CutType::Partial);
    EXPECT_EQ(JSONBuilder().build(printer.categoryObject(), 0),
              "{\n\t\"category\": \"Printer\",\n\t\"parameters\": [\n\t],\n\t\"contents\": [\n"
              "\t\t{\n\t\t\t\"method\": \"Style.Alignment\",\n\t\t\t\"parameter\": {\n\t\t\t\t\"position\": "
              "\"Center\"\n\t\t\t}\n\t\t},\n"
              "\t\t{\n\t\t\t\"method\": \"Action.Print.Text\",\n\t\t\t\"parameter\": {\n\t\t\t\t\"content\": "
              "\"abc\"\n\t\t\t}\n\t\t},\n"
              "\t\t{\n\t\t\t\"method\": \"Action.Cut\",\n\t\t\t\"parameter\": {\n\t\t\t\t\"type\": "
              "\"Partial\"\n\t\t\t}\n\t\t}\n"
              "\t]\n}");
}

TEST(PrinterBuilderTest, StyleItems) {
    PrinterBuilder printer;
    printer.styleFont(Printer::FontType::B)
        .styleBold(true)
        .styleBold(true)
        .styleInvert(false)
        .styleUnderLine(true)
        .styleMagnification(MagnificationParameter(2, 3))
        .styleBaseMagnification(
            Printer::BaseMagnificationParameter().setText(Printer::BaseMagnification::X1_5))
        .styleCharacterSpace(0.5)
        .styleLineSpace(4)
        .styleHorizontalPositionTo(10)
        .styleHorizontalPositionBy(-2.5)
        .styleHorizontalTabPositions({})
        .styleHorizontalTabPositions({8, 16})
        .styleInternationalCharacter(Printer::InternationalCharacterType::Legal)
        .styleSecondPriorityCharacterEncoding(Printer::CharacterEncodingType::CodePage)
        .styleCJKCharacterPriority(std::vector<int>{3, 9, 0, -1, 0})
        .styleCJKCharacterPriority(std::vector<Printer::CJKCharacterType>{})
        .styleAmbiguousCharacterWidthType(Printer::AmbiguousCharacterWidthType::Full);
    const json expected = json::array({
        item("Style.Font", {{"type", "B"}}),
        item("Style.Bold", {{"enable", true}}),
        item("Style.Bold", {{"enable", true}}),
        item("Style.Invert", {{"enable", false}}),
        item("Style.UnderLine", {{"enable", true}}),
        item("Style.Magnification", {{"width", 2}, {"height", 3}}),
        item("Style.BaseMagnification", {{"text", "X1_5"}}),
        item("Style.CharacterSpace", {{"width", 0.5}}),
        item("Style.LineSpace", {{"height", 4.0}}),
        item("Style.HorizontalPositionTo", {{"position", 10.0}}),
        item("Style.HorizontalPositionBy", {{"position", -2.5}}),
        item("Style.HorizontalTabPositions", {{"positions", json::array()}}),
        item("Style.HorizontalTabPositions", {{"positions", {8, 16}}}),
        item("Style.InternationalCharacter", {{"type", "Legal"}}),
        item("Style.SecondPriorityCharacterEncoding", {{"type", "CodePage"}}),
        item("Style.CjkCharacterPriority", {{"types", {"Korean", "Japanese", "Japanese"}}}),
        item("Style.CjkCharacterPriority", {{"types", json::array()}}),
        item("Style.AmbiguousCharacterWidthType", {{"type", "Full"}}),
    });
    EXPECT_EQ(contents(printer), expected);
    // Doubles keep a fractional digit in the text.
    EXPECT_NE(JSONBuilder().build(printer.categoryObject(), 0).find("\"height\": 4.0"), std::string::npos);
}

TEST(PrinterBuilderTest, ActionItemsWithDefaults) {
    PrinterBuilder printer;
    Printer::TextParameter widthOnly;
    widthOnly.setWidth(12);
    Printer::TextParameter widthParameterOnly;  // never given a width: writes "content" alone
    Printer::TextParameter full;
    full.setWidth(20, Printer::TextWidthParameter()
                          .setWidthType(Printer::TextWidthType::Full)
                          .setAlignment(Printer::TextAlignment::Right)
                          .setEllipsizeType(Printer::TextEllipsizeType::Middle)
                          .setPrintType(Printer::TextPrintType::Always));
    printer.actionFeed(1.5)
        .actionFeedLine(2)
        .actionSeparatorFeed()
        .actionPrintText("say \"hi\"")
        .actionPrintText("w", widthOnly)
        .actionPrintText("p", widthParameterOnly)
        .actionPrintText("f", full)
        .actionPrintLogo(Printer::LogoParameter("k\\1"))
        .actionPrintBarcode(Printer::BarcodeParameter("123", Printer::BarcodeSymbology::Code128))
        .actionPrintPDF417(Printer::PDF417Parameter("pdf"))
        .actionPrintPDF417(Printer::PDF417Parameter("pdf").setColumn(5).setLevel(Printer::PDF417Level::Ecc3))
        .actionPrintQRCode(Printer::QRCodeParameter("qr"))
        .actionPrintRuledLine(Printer::RuledLineParameter(72));
    const json expected = json::array({
        item("Action.Feed.Unit", {{"height", 1.5}}),
        item("Action.Feed.Line", {{"lines", 2}}),
        item("Action.Feed.Separator"),
        item("Action.Print.Text", {{"content", "say \"hi\""}}),
        item("Action.Print.Text", {{"content", "w"},
                                   {"width", 12},
                                   {"widthType", "Half"},
                                   {"alignment", "Left"},
                                   {"ellipsizeType", "None"},
                                   {"printType", "GoneWhenEmpty"}}),
        item("Action.Print.Text", {{"content", "p"}}),
        item("Action.Print.Text", {{"content", "f"},
                                   {"width", 20},
                                   {"widthType", "Full"},
                                   {"alignment", "Right"},
                                   {"ellipsizeType", "Middle"},
                                   {"printType", "Always"}}),
        item("Action.Print.Logo", {{"key_code", "k\\1"}}),
        item("Action.Print.Barcode", {{"content", "123"},
                                      {"symbology", "Code128"},
                                      {"bar_dots", 2},
                                      {"bar_ratio_level", "Level0"},
                                      {"height", 10.0},
                                      {"print_hri", false}}),
        item("Action.Print.Pdf417", {{"content", "pdf"},
                                     {"column", 3},
                                     {"line", 0},
                                     {"module", 3},
                                     {"aspect", 3},
                                     {"level", "Ecc1"}}),
        item("Action.Print.Pdf417", {{"content", "pdf"},
                                     {"column", 5},
                                     {"line", 0},
                                     {"module", 3},
                                     {"aspect", 3},
                                     {"level", "Ecc3"}}),
        item("Action.Print.QRCode",
             {{"content", "qr"}, {"model", "Model2"}, {"level", "L"}, {"cell_size", 3}}),
        item("Action.Print.RuledLine",
             {{"x", 0.0}, {"width", 72.0}, {"thickness", 0.25}, {"lineStyle", "Single"}}),
    });
    EXPECT_EQ(contents(printer), expected);
    const std::string text = JSONBuilder().build(printer.categoryObject(), 0);
    EXPECT_NE(text.find("\"content\": \"say \\\"hi\\\"\""), std::string::npos);
    EXPECT_NE(text.find("\"parameter\": {\n\t\t\t}"),
              std::string::npos);  // empty object of the separator feed
}

TEST(PrinterBuilderTest, ValuesWithoutJsonFormAreNotWritten) {
    PrinterBuilder printer;
    printer.styleAlignment(static_cast<Printer::Alignment>(3))
        .actionCut(static_cast<Printer::CutType>(-1))
        .actionPrintBarcode(Printer::BarcodeParameter("1", static_cast<Printer::BarcodeSymbology>(11)))
        .styleCJKCharacterPriority(
            std::vector<Printer::CJKCharacterType>{static_cast<Printer::CJKCharacterType>(4)})
        .actionFeed(std::nan(""))
        .styleLineSpace(std::numeric_limits<double>::infinity())
        .actionPrintRuledLine(Printer::RuledLineParameter(-std::numeric_limits<double>::infinity()))
        .actionFeedLine(1);
    EXPECT_EQ(contents(printer), json::array({item("Action.Feed.Line", {{"lines", 1}})}));
    EXPECT_EQ(fromRawValue<Printer::InternationalCharacterType>(21),
              Printer::InternationalCharacterType::Legal);
    EXPECT_EQ(fromRawValue<Printer::InternationalCharacterType>(22), std::nullopt);
    EXPECT_EQ(fromRawValue<Printer::CutType>(-1), std::nullopt);
}

TEST(PrinterBuilderTest, NestingByReferenceAndTemplateExtension) {
    PrinterBuilder parent;
    PrinterBuilder plain(Printer::PrinterParameter{});
    PrinterBuilder extended(Printer::PrinterParameter().setTemplateExtension(TemplateExtensionParameter()));
    parent.add(plain).add(extended).add(extended);
    plain.styleBold(true);  // after it was added
    const json tree = written(parent.categoryObject());
    ASSERT_EQ(tree["contents"].size(), 3u);
    EXPECT_EQ(tree["contents"][0]["parameters"], json::array());
    EXPECT_EQ(tree["contents"][0]["contents"], json::array({item("Style.Bold", {{"enable", true}})}));
    const json extension = item("Setting.TemplateExtension", {{"enableArrayFieldData", false}});
    EXPECT_EQ(tree["contents"][1]["parameters"], json::array({extension, extension}));
    EXPECT_EQ(tree["contents"][1], tree["contents"][2]);
}

TEST(PrinterBuilderTest, BuilderAddedToItselfOrItsDescendantIsRefused) {
    PrinterBuilder a;
    PrinterBuilder b;
    PrinterBuilder c;
    a.add(a);
    a.add(b);
    b.add(c);
    c.add(a);  // a holds b holds c
    b.add(a);
    PrinterBuilder copyOfA = a;  // a handle to the same tree
    copyOfA.add(a);
    EXPECT_EQ(contents(a).size(), 1u);
    EXPECT_EQ(contents(c).size(), 0u);
    EXPECT_EQ(contents(b).size(), 1u);

    PageModeBuilder page;
    PageModeBuilder inner;
    page.add(inner);
    inner.addPageMode(Printer::PageModeAreaParameter(1, 1), page);
    page.add(page);
    EXPECT_EQ(contents(page).size(), 1u);
    EXPECT_EQ(contents(inner).size(), 0u);
    EXPECT_EQ(written(inner.categoryObject())["parameters"], json::array());
}

TEST(PrinterBuilderTest, PageModeNesting) {
    PrinterBuilder printer;
    PageModeBuilder page(Printer::PageModeParameter().setTemplateExtension(
        TemplateExtensionParameter().setEnableArrayFieldData(true)));
    printer.addPageMode(Printer::PageModeAreaParameter(400, 300), page);
    printer.addPageMode(Printer::PageModeAreaParameter(10, 20).setX(1).setY(2), page);
    const std::string text = JSONBuilder().build(page.categoryObject(), 0);
    EXPECT_NE(
        text.find("\"parameter\": {\n\t\t\t\t\"x\": 0.0,\n\t\t\t\t\"y\": 0.0,\n\t\t\t\t\"width\": 400.0,\n"
                  "\t\t\t\t\"height\": 300.0\n\t\t\t}"),
        std::string::npos);
    const json area1 =
        item("Style.PageMode.Area", {{"x", 0.0}, {"y", 0.0}, {"width", 400.0}, {"height", 300.0}});
    const json area2 =
        item("Style.PageMode.Area", {{"x", 1.0}, {"y", 2.0}, {"width", 10.0}, {"height", 20.0}});
    const json extension = item("Setting.TemplateExtension", {{"enableArrayFieldData", true}});
    EXPECT_EQ(written(page.categoryObject())["parameters"],
              json::array({area1, extension, area2, extension}));
    EXPECT_EQ(contents(printer).size(), 2u);

    PageModeBuilder outer;
    PageModeBuilder child;
    outer.add(child);
    EXPECT_EQ(written(child.categoryObject()),
              json({{"category", "PageMode"}, {"parameters", json::array()}, {"contents", json::array()}}));
}

TEST(PrinterBuilderTest, PageModeItems) {
    PageModeBuilder page;
    page.stylePrintDirection(Printer::PageModePrintDirection::TopToBottom)
        .styleVerticalPositionTo(5)
        .styleVerticalPositionBy(-1)
        .actionPrintRuledLine(Printer::PageModeRuledLineParameter(1, 2, 3, 4))
        .actionPrintRectangle(Printer::PageModeRectangleParameter(0, 0, 10, 20))
        .actionPrintRectangle(Printer::PageModeRectangleParameter(1, 1, 2, 2)
                                  .setRoundCorner(true)
                                  .setCornerRadius(1.5)
                                  .setLineStyle(Printer::LineStyle::Double)
                                  .setThickness(1))
        .actionPrintText("t");
    const json expected = json::array({
        item("Style.PrintDirection", {{"direction", "TopToBottom"}}),
        item("Style.VerticalPositionTo", {{"position", 5.0}}),
        item("Style.VerticalPositionBy", {{"position", -1.0}}),
        item("Action.Print.PageModeRuledLine", {{"xStart", 1.0},
                                                {"yStart", 2.0},
                                                {"xEnd", 3.0},
                                                {"yEnd", 4.0},
                                                {"thickness", 0.25},
                                                {"lineStyle", "Single"}}),
        item("Action.Print.PageModeRectangle", {{"x", 0.0},
                                                {"y", 0.0},
                                                {"width", 10.0},
                                                {"height", 20.0},
                                                {"thickness", 0.25},
                                                {"lineStyle", "Single"},
                                                {"roundCorner", false},
                                                {"cornerRadius", 0.0}}),
        item("Action.Print.PageModeRectangle", {{"x", 1.0},
                                                {"y", 1.0},
                                                {"width", 2.0},
                                                {"height", 2.0},
                                                {"thickness", 1.0},
                                                {"lineStyle", "Double"},
                                                {"roundCorner", true},
                                                {"cornerRadius", 1.5}}),
        item("Action.Print.Text", {{"content", "t"}}),
    });
    EXPECT_EQ(contents(page), expected);
}
