#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "builder/TestJson.hpp"
#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"

using namespace Prelix10;
using namespace Prelix10::VelmarCommand;
using json = nlohmann::ordered_json;

namespace {

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buffer[3];
    for (auto b : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X", b);
        out += buffer;
    }
    return out;
}

// 16 x 2: the first row black, the second black on its left half.
ImagePixels logoImage() {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t v = (y == 0 || x < 8) ? 0 : 255;
            rgba.insert(rgba.end(), {v, v, v, 255});
        }
    }
    return *ImagePixels::fromRGBA(16, 2, rgba);
}

std::string builtReceipt() {
    VelmarCommandBuilder root;
    PreSettingBuilder preSetting;
    PresenterSettingBuilder presenter;
    presenter.settingMode(Presenter::ModeParameter().setHold(true).setHoldTime(30))
        .settingLEDAutomaticBlink(Presenter::LEDAutomaticBlinkParameter(Presenter::LEDType::Holding));
    BezelSettingBuilder bezel;
    bezel.settingAutomaticPageLength(false).settingLEDAutomaticBlink(
        Bezel::LEDAutomaticBlinkParameter(Bezel::LEDType::Error).setOffTime(300));
    preSetting.addPresenterSetting(presenter).addBezelSetting(bezel);
    root.setPreSetting(preSetting);

    DocumentBuilder document;
    PrinterBuilder printer;
    printer.styleAlignment(Printer::Alignment::Center)
        .actionPrintLogo(Printer::LogoParameter("01"))
        .actionPrintImage(Printer::ImageParameter(logoImage(), 16))
        .styleBold(true)
        .styleMagnification(MagnificationParameter(2, 2))
        .actionPrintText("Corner \"Cafe\"\n")
        .styleBold(false)
        .styleMagnification(MagnificationParameter(1, 1))
        .styleAlignment(Printer::Alignment::Left)
        .styleUnderLine(true)
        .actionPrintText("Coffee\t3.50\r\n")
        .styleUnderLine(false)
        .styleInvert(true)
        .actionPrintText("TOTAL", Printer::TextParameter().setWidth(10))
        .styleInvert(false)
        .actionFeedLine(1)
        .actionPrintRuledLine(Printer::RuledLineParameter(72))
        .actionPrintBarcode(
            Printer::BarcodeParameter("12345678", Printer::BarcodeSymbology::Code128).setPrintHRI(true))
        .actionPrintPDF417(Printer::PDF417Parameter("receipt 42").setLevel(Printer::PDF417Level::Ecc2))
        .actionPrintQRCode(
            Printer::QRCodeParameter("https://example.invalid/r/42").setLevel(Printer::QRCodeLevel::M));
    PageModeBuilder page;
    page.stylePrintDirection(Printer::PageModePrintDirection::LeftToRight)
        .actionPrintText("Page")
        .actionPrintRectangle(Printer::PageModeRectangleParameter(0, 0, 40, 20))
        .actionPrintRuledLine(Printer::PageModeRuledLineParameter(0, 10, 40, 10));
    printer.addPageMode(Printer::PageModeAreaParameter(48, 24), page);
    printer.actionFeed(5).actionCut(Printer::CutType::Partial);

    DisplayBuilder display;
    display.actionClearAll()
        .actionShowText("Thank you")
        .actionShowImage(
            Display::ImageParameter(*ImagePixels::fromRGBA(8, 4, std::vector<std::uint8_t>(8 * 4 * 4, 0))));
    DrawerBuilder drawer;
    drawer.actionOpen(Drawer::OpenParameter());
    BuzzerBuilder buzzer;
    buzzer.actionDrive(Buzzer::DriveParameter().setRepeat(2));
    MelodySpeakerBuilder speaker;
    speaker.actionDriveRegisteredSound(
        MelodySpeaker::DriveRegisteredSoundParameter(MelodySpeaker::SoundStorageArea::Area1, 1));

    document.settingPrintableArea(72)
        .addPrinter(printer)
        .addDisplay(display)
        .addDrawer(drawer)
        .addBuzzer(buzzer)
        .addMelodySpeaker(speaker)
        .addRaw(std::vector<std::uint8_t>{0x1B, 0x40});
    root.addDocument(document);
    return root.getCommands();
}

// The same receipt written by hand, compactly.
std::string handWrittenReceipt() {
    // 160 x 40 white raster: 800 zero bytes.
    const std::string blank = std::string(1064, 'A') + "AAA=";
    return R"({"title": "VelmarCommand", "version": "1.0.0", "contents": [
 {"category": "PreSetting", "contents": [
  {"category": "Presenter", "contents": [
   {"method": "Mode", "parameter": {"loop": false, "hold": true, "retract": false, "hold_time": 30}},
   {"method": "Led.AutomaticBlink", "parameter": {"type": "Holding", "on_time": 100, "off_time": 100}}]},
  {"category": "Bezel", "contents": [
   {"method": "AutomaticPageLength", "parameter": {"enable": false}},
   {"method": "Led.AutomaticBlink", "parameter": {"type": "Error", "on_time": 100, "off_time": 300}}]}]},
 {"category": "Document", "contents": [
  {"method": "Setting.PrintableArea", "parameter": {"width": 72.0}},
  {"category": "Printer", "parameters": [], "contents": [
   {"method": "Style.Alignment", "parameter": {"position": "Center"}},
   {"method": "Action.Print.Logo", "parameter": {"key_code": "01"}},
   {"method": "Action.Print.Image", "parameter": {"source": "////AA==", "width": 16, "height": 2}},
   {"method": "Style.Bold", "parameter": {"enable": true}},
   {"method": "Style.Magnification", "parameter": {"width": 2, "height": 2}},
   {"method": "Action.Print.Text", "parameter": {"content": "Corner \"Cafe\"\n"}},
   {"method": "Style.Bold", "parameter": {"enable": false}},
   {"method": "Style.Magnification", "parameter": {"width": 1, "height": 1}},
   {"method": "Style.Alignment", "parameter": {"position": "Left"}},
   {"method": "Style.UnderLine", "parameter": {"enable": true}},
   {"method": "Action.Print.Text", "parameter": {"content": "Coffee\t3.50\n"}},
   {"method": "Style.UnderLine", "parameter": {"enable": false}},
   {"method": "Style.Invert", "parameter": {"enable": true}},
   {"method": "Action.Print.Text", "parameter": {"content": "TOTAL", "width": 10, "widthType": "Half",
     "alignment": "Left", "ellipsizeType": "None", "printType": "GoneWhenEmpty"}},
   {"method": "Style.Invert", "parameter": {"enable": false}},
   {"method": "Action.Feed.Line", "parameter": {"lines": 1}},
   {"method": "Action.Print.RuledLine", "parameter": {"x": 0.0, "width": 72.0, "thickness": 0.25, "lineStyle": "Single"}},
   {"method": "Action.Print.Barcode", "parameter": {"content": "12345678", "symbology": "Code128", "bar_dots": 2,
     "bar_ratio_level": "Level0", "height": 10.0, "print_hri": true}},
   {"method": "Action.Print.Pdf417", "parameter": {"content": "receipt 42", "column": 3, "line": 0, "module": 3,
     "aspect": 3, "level": "Ecc2"}},
   {"method": "Action.Print.QRCode", "parameter": {"content": "https://example.invalid/r/42", "model": "Model2",
     "level": "M", "cell_size": 3}},
   {"category": "PageMode", "parameters": [
     {"method": "Style.PageMode.Area", "parameter": {"x": 0.0, "y": 0.0, "width": 48.0, "height": 24.0}}],
    "contents": [
     {"method": "Style.PrintDirection", "parameter": {"direction": "LeftToRight"}},
     {"method": "Action.Print.Text", "parameter": {"content": "Page"}},
     {"method": "Action.Print.PageModeRectangle", "parameter": {"x": 0.0, "y": 0.0, "width": 40.0, "height": 20.0,
       "thickness": 0.25, "lineStyle": "Single", "roundCorner": false, "cornerRadius": 0.0}},
     {"method": "Action.Print.PageModeRuledLine", "parameter": {"xStart": 0.0, "yStart": 10.0, "xEnd": 40.0,
       "yEnd": 10.0, "thickness": 0.25, "lineStyle": "Single"}}]},
   {"method": "Action.Feed.Unit", "parameter": {"height": 5.0}},
   {"method": "Action.Cut", "parameter": {"type": "Partial"}}]},
  {"category": "Display", "contents": [
   {"method": "Action.Clear.All", "parameter": {}},
   {"method": "Action.Show.Text", "parameter": {"content": "Thank you"}},
   {"method": "Action.Show.Image", "parameter": {"source": ")" +
           blank + R"(", "width": 160, "height": 40}}]},
  {"category": "Drawer", "contents": [{"method": "Action.Open", "parameter": {"channel": "No.1", "on_time": 200}}]},
  {"category": "Buzzer", "contents": [
   {"method": "Action.Drive", "parameter": {"channel": "No.1", "repeat": 2, "on_time": 200, "off_time": 200}}]},
  {"category": "MelodySpeaker", "contents": [
   {"method": "Action.Drive.RegisteredSound", "parameter": {"area": "Area1", "number": 1, "volume": -1}}]},
  {"method": "Raw.Send", "parameter": {"content": "G0A="}}]}]})";
}

}  // namespace

TEST(RoundTripTest, BuiltReceiptEqualsHandWrittenDocument) {
    const std::string built = builtReceipt();
    EXPECT_TRUE(Testing::isValidJson(built));
    // Same structure, values and key order.
    EXPECT_EQ(json::parse(built), json::parse(handWrittenReceipt()));
}

TEST(RoundTripTest, BuiltReceiptCompilesToTheSameBytes) {
    const std::string built = builtReceipt();
    const std::string hand = handWrittenReceipt();
    for (const auto emulation : {OrvoPrinterEmulation::kestrin, OrvoPrinterEmulation::escPos}) {
        VelmarCommandParser parser;
        const auto fromBuilder = parser.parse(built, std::nullopt, OrvoPrinterModel::harlo599KZ, emulation);
        const auto fromHand = parser.parse(hand, std::nullopt, OrvoPrinterModel::harlo599KZ, emulation);
        EXPECT_FALSE(fromBuilder.empty());
        EXPECT_EQ(hex(fromBuilder), hex(fromHand)) << static_cast<int>(emulation);
        RecordProperty("bytes_" + std::to_string(static_cast<int>(emulation)),
                       std::to_string(fromBuilder.size()));
    }
}
