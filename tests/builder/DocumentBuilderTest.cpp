#include <gtest/gtest.h>

#include "builder/TestJson.hpp"
#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/builder/VelmarCommandParameterConverter.hpp"

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

TEST(DocumentBuilderTest, EmptyRootAndTheDrawerExample) {
    VelmarCommandBuilder root;
    EXPECT_EQ(root.getCommands(),
              "{\n\t\"title\": \"VelmarCommand\",\n\t\"version\": \"1.0.0\",\n\t\"contents\": [\n\t]\n}");

    DocumentBuilder document;
    DrawerBuilder drawer;
    document.addDrawer(drawer);
    root.addDocument(document);
    drawer.actionOpen(Drawer::OpenParameter());  // after both adds
    EXPECT_EQ(root.getCommands(),
              "{\n\t\"title\": \"VelmarCommand\",\n\t\"version\": \"1.0.0\",\n\t\"contents\": [\n\t\t{\n"
              "\t\t\t\"category\": \"Document\",\n\t\t\t\"contents\": [\n\t\t\t\t{\n"
              "\t\t\t\t\t\"category\": \"Drawer\",\n\t\t\t\t\t\"contents\": [\n\t\t\t\t\t\t{\n"
              "\t\t\t\t\t\t\t\"method\": \"Action.Open\",\n\t\t\t\t\t\t\t\"parameter\": {\n"
              "\t\t\t\t\t\t\t\t\"channel\": \"No.1\",\n\t\t\t\t\t\t\t\t\"on_time\": 200\n"
              "\t\t\t\t\t\t\t}\n\t\t\t\t\t\t}\n\t\t\t\t\t]\n\t\t\t\t}\n\t\t\t]\n\t\t}\n\t]\n}");
    EXPECT_TRUE(Testing::isValidJson(root.getCommands()));
}

TEST(DocumentBuilderTest, SettingsStayAheadInCallOrder) {
    DocumentBuilder document;
    PrinterBuilder printer;
    document.settingTopMargin(2)
        .addPrinter(printer)
        .addRaw(std::vector<std::uint8_t>{})
        .settingBlackMark(Printer::BlackMarkParameter())
        .settingLabel(Printer::LabelParameter().setEnable(false))
        .addRaw(std::vector<std::uint8_t>{0x1B, 0x40, 0xFF})
        .settingHoldPrint(Printer::HoldPrintParameter(true))
        .settingPrintableArea(72)
        .settingTopMargin(std::nan(""));  // left out, and the next setting still goes in place
    document.settingLabel(Printer::LabelParameter());
    const json expected = json::array({
        item("Setting.TopMargin", {{"height", 2.0}}),
        item("Setting.BlackMark", {{"enable", true}, {"position", "Back"}}),
        item("Setting.Label", {{"enable", false}}),
        item("Setting.HoldPrint", {{"enable", true}}),
        item("Setting.PrintableArea", {{"width", 72.0}}),
        item("Setting.Label", {{"enable", true}}),
        json{{"category", "Printer"}, {"parameters", json::array()}, {"contents", json::array()}},
        item("Raw.Send", {{"content", ""}}),
        item("Raw.Send", {{"content", "G0D/"}}),
    });
    EXPECT_EQ(contents(document), expected);
}

TEST(DocumentBuilderTest, TemplateExtensionWrittenPerAddPrinter) {
    DocumentBuilder document;
    PrinterBuilder printer(Printer::PrinterParameter().setTemplateExtension(TemplateExtensionParameter()));
    document.addPrinter(printer).addPrinter(printer);
    const json extension = item("Setting.TemplateExtension", {{"enableArrayFieldData", false}});
    EXPECT_EQ(written(printer.categoryObject())["parameters"], json::array({extension, extension}));
    PrinterBuilder none;
    none.setParameter(Printer::PrinterParameter());
    document.addPrinter(none);
    EXPECT_EQ(written(none.categoryObject())["parameters"], json::array());
}

TEST(DocumentBuilderTest, PreSettingWrittenFirstOnceEveryCall) {
    VelmarCommandBuilder root;
    DocumentBuilder document;
    root.addDocument(document);
    PreSettingBuilder preSetting;
    PresenterSettingBuilder presenter;
    BezelSettingBuilder bezel;
    preSetting.addPresenterSetting(presenter).addBezelSetting(bezel);
    root.setPreSetting(preSetting);
    presenter.settingMode(Presenter::ModeParameter())
        .settingLEDAutomaticBlink(
            Presenter::LEDAutomaticBlinkParameter(*fromRawValue<Presenter::LEDType>(1)));
    bezel.settingAutomaticPageLength(true).settingLEDAutomaticBlink(
        Bezel::LEDAutomaticBlinkParameter(Bezel::LEDType::Holding)
            .setType(Bezel::LEDType::Idle)
            .setOnTime(5));
    const std::string first = root.getCommands();
    EXPECT_EQ(first, root.getCommands());
    const json tree = json::parse(first);
    ASSERT_EQ(tree["contents"].size(), 2u);
    EXPECT_EQ(tree.begin().key(), "title");
    EXPECT_EQ(tree["contents"][0]["category"], "PreSetting");
    EXPECT_EQ(tree["contents"][1]["category"], "Document");
    const json expected = json::array({
        json{{"category", "Presenter"},
             {"contents",
              json::array(
                  {item("Mode", {{"loop", false}, {"hold", false}, {"retract", false}, {"hold_time", 0}}),
                   item("Led.AutomaticBlink", {{"type", "Error"}, {"on_time", 100}, {"off_time", 100}})})}},
        json{{"category", "Bezel"},
             {"contents", json::array({item("AutomaticPageLength", {{"enable", true}}),
                                       item("Led.AutomaticBlink",
                                            {{"type", "Idle"}, {"on_time", 5}, {"off_time", 100}})})}},
    });
    EXPECT_EQ(tree["contents"][0]["contents"], expected);
    // The stored root is unchanged: without the pre-setting only the document is written.
    root.setPreSetting(std::nullopt);
    EXPECT_EQ(json::parse(root.getCommands())["contents"].size(), 1u);
    EXPECT_EQ(written(PreSettingBuilder().categoryObject()),
              json({{"category", "PreSetting"}, {"contents", json::array()}}));
}

TEST(DeviceBuilderTest, DrawerBuzzerMelodySpeaker) {
    DrawerBuilder drawer;
    drawer.actionOpen(Drawer::OpenParameter())
        .actionOpen(Drawer::OpenParameter().setChannel(Drawer::Channel::No4).setOnTime(50));
    EXPECT_EQ(contents(drawer), json::array({item("Action.Open", {{"channel", "No.1"}, {"on_time", 200}}),
                                             item("Action.Open", {{"channel", "No.4"}, {"on_time", 50}})}));

    BuzzerBuilder buzzer;
    Buzzer::DriveParameter drive;
    buzzer.actionDrive(drive);
    drive.setChannel(Buzzer::Channel::No2).setRepeat(3).setOnTime(10).setOffTime(20);
    buzzer.actionDrive(drive);
    EXPECT_EQ(
        contents(buzzer),
        json::array(
            {item("Action.Drive", {{"channel", "No.1"}, {"repeat", 1}, {"on_time", 200}, {"off_time", 200}}),
             item("Action.Drive", {{"channel", "No.2"}, {"repeat", 3}, {"on_time", 10}, {"off_time", 20}})}));

    MelodySpeakerBuilder speaker;
    speaker
        .actionDriveRegisteredSound(
            MelodySpeaker::DriveRegisteredSoundParameter(MelodySpeaker::SoundStorageArea::Area2, 7))
        .actionDriveOneTimeSound(MelodySpeaker::DriveOneTimeSoundParameter({}))
        .actionDriveOneTimeSound(MelodySpeaker::DriveOneTimeSoundParameter({'a', 'b'}).setVolume(9));
    EXPECT_EQ(
        contents(speaker),
        json::array({item("Action.Drive.RegisteredSound", {{"area", "Area2"}, {"number", 7}, {"volume", -1}}),
                     item("Action.Drive.OneTimeSound", {{"source", ""}, {"volume", -1}}),
                     item("Action.Drive.OneTimeSound", {{"source", "YWI="}, {"volume", 9}})}));
}

TEST(DeviceBuilderTest, DisplayItems) {
    DisplayBuilder display;
    display.styleInternationalCharacter(Display::InternationalCharacterType::Korea)
        .styleInternationalCharacter(static_cast<Display::InternationalCharacterType>(14))
        .styleCharacterEncoding(Display::CharacterEncodingType::CodePage)
        .styleCursorPositionTo(Display::PositionParameter(-3, 100000))
        .actionClearLine()
        .actionClearAll()
        .actionSetBackLightState(false)
        .actionSetCursorState(Display::CursorState::Blink)
        .actionSetContrast(Display::Contrast::Minus3)
        .actionShowText("a\r\nb\rc\nd\\n");
    const json expected = json::array({
        item("Style.InternationalCharacter", {{"type", "Korea"}}),
        item("Style.CharacterEncoding", {{"type", "CodePage"}}),
        item("Style.CursorPositionTo", {{"x", -3}, {"y", 100000}}),
        item("Action.Clear.Line"),
        item("Action.Clear.All"),
        item("Action.Set.BackLightState", {{"on", false}}),
        item("Action.Set.CursorState", {{"value", "Blink"}}),
        item("Action.Set.Contrast", {{"value", "Minus3"}}),
        item("Action.Show.Text", {{"content", "a\nb\nc\nd\\n"}}),
    });
    EXPECT_EQ(contents(display), expected);
    const std::string text = JSONBuilder().build(display.categoryObject(), 0);
    EXPECT_NE(text.find("\"content\": \"a\\nb\\nc\\nd\\\\n\""), std::string::npos);
    EXPECT_NE(text.find("\"method\": \"Action.Clear.Line\",\n\t\t\t\"parameter\": {\n\t\t\t}"),
              std::string::npos);
}

TEST(DocumentBuilderTest, HostileUserTextStillGivesValidJson) {
    const std::string nasty = std::string("a\"b\\c\x1b[1m\x01\x7f\r\n\r\n\t", 17) + std::string(1, '\0') +
                              "\xFF\xFE\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80 \xE2\x82";
    VelmarCommandBuilder root;
    DocumentBuilder document;
    PrinterBuilder printer;
    DisplayBuilder display;
    printer.actionPrintText(nasty)
        .actionPrintLogo(Printer::LogoParameter(nasty))
        .actionPrintBarcode(Printer::BarcodeParameter(nasty, Printer::BarcodeSymbology::Code39))
        .actionPrintPDF417(Printer::PDF417Parameter(nasty))
        .actionPrintQRCode(Printer::QRCodeParameter(nasty));
    display.actionShowText(nasty);
    document.addPrinter(printer).addDisplay(display);
    root.addDocument(document);
    const std::string text = root.getCommands();
    EXPECT_TRUE(Testing::isValidJson(text));
    // The line breaks: CR LF twice becomes two "\n"; the quote and backslash are escaped, ESC is \u001b.
    EXPECT_EQ(VelmarCommandParameterConverter::escape("x\r\ny\rz\n"), "x\\ny\\nz\\n");
    EXPECT_EQ(VelmarCommandParameterConverter::escape("a\\nb"), "a\\\\nb");
    EXPECT_NE(text.find("a\\\"b\\\\c\\u001b[1m\\u0001\x7f\\n\\n\\t\\u0000"), std::string::npos);
    EXPECT_EQ(json::parse(text)["contents"][0]["contents"][0]["contents"].size(), 5u);
}
