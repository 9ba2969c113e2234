// build_receipt [--image FILE] [--out DIR] [--emulation kestrin|escPos] [--model MODEL]
//
// Builds a receipt with the command builders (pre-setting, text with styles, logo, image, barcode,
// PDF417, QR code, ruled line, page mode, display, drawer, buzzer, melody speaker), writes the JSON
// command document to DIR/receipt.json, compiles it for the emulation and model and writes the printer
// bytes to DIR/receipt.bin. DIR defaults to the current directory. Without --image a small gradient
// picture is drawn in memory.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/platform/ImagePixels.hpp"

using namespace Prelix10;
using namespace Prelix10::VelmarCommand;

namespace {

ImagePixels gradient(int width, int height) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto v = static_cast<std::uint8_t>((x * 255) / (width - 1));
            rgba.insert(rgba.end(), {v, v, v, 255});
        }
    }
    return *ImagePixels::fromRGBA(width, height, std::move(rgba));
}

std::string buildReceipt(const ImagePixels& picture) {
    VelmarCommandBuilder root;

    PresenterSettingBuilder presenter;
    presenter.settingMode(Presenter::ModeParameter().setHold(true).setHoldTime(30));
    BezelSettingBuilder bezel;
    bezel.settingLEDAutomaticBlink(Bezel::LEDAutomaticBlinkParameter(Bezel::LEDType::Idle));
    PreSettingBuilder preSetting;
    preSetting.addPresenterSetting(presenter).addBezelSetting(bezel);
    root.setPreSetting(preSetting);

    PrinterBuilder printer;
    printer.styleAlignment(Printer::Alignment::Center)
        .actionPrintLogo(Printer::LogoParameter("01"))
        .actionPrintImage(Printer::ImageParameter(picture, 384).setEffectDiffusion(true))
        .styleBold(true)
        .styleMagnification(MagnificationParameter(2, 2))
        .actionPrintText("Corner Cafe\n")
        .styleBold(false)
        .styleMagnification(MagnificationParameter(1, 1))
        .styleAlignment(Printer::Alignment::Left);
    const struct {
        const char* item;
        const char* price;
    } lines[] = {{"Espresso", "2.40"}, {"Croissant", "2.10"}, {"Orange juice", "3.20"}};
    for (const auto& line : lines) {
        printer.actionPrintText(line.item, Printer::TextParameter().setWidth(36))
            .actionPrintText(std::string(line.price) + "\n");
    }
    printer.actionPrintRuledLine(Printer::RuledLineParameter(72))
        .styleBold(true)
        .actionPrintText("TOTAL                             7.70\n")
        .styleBold(false)
        .actionFeedLine(1)
        .styleAlignment(Printer::Alignment::Center)
        .actionPrintBarcode(
            Printer::BarcodeParameter("20261210", Printer::BarcodeSymbology::Code128).setPrintHRI(true))
        .actionPrintPDF417(Printer::PDF417Parameter("receipt 20261210-0042"))
        .actionPrintQRCode(Printer::QRCodeParameter("https://example.invalid/receipt/42").setCellSize(4));

    PageModeBuilder stamp;
    stamp
        .actionPrintRectangle(
            Printer::PageModeRectangleParameter(0, 0, 40, 16).setRoundCorner(true).setCornerRadius(2))
        .styleVerticalPositionTo(6)
        .styleHorizontalPositionTo(8)
        .actionPrintText("PAID");
    printer.addPageMode(Printer::PageModeAreaParameter(40, 16), stamp);
    printer.actionFeed(5).actionCut(Printer::CutType::Partial);

    DisplayBuilder display;
    display.actionClearAll().actionShowText("Thank you!\n7.70");
    DrawerBuilder drawer;
    drawer.actionOpen(Drawer::OpenParameter());
    BuzzerBuilder buzzer;
    buzzer.actionDrive(Buzzer::DriveParameter());
    MelodySpeakerBuilder speaker;
    speaker.actionDriveRegisteredSound(
        MelodySpeaker::DriveRegisteredSoundParameter(MelodySpeaker::SoundStorageArea::Area1, 1));

    DocumentBuilder document;
    document.settingPrintableArea(72)
        .addPrinter(printer)
        .addDisplay(display)
        .addDrawer(drawer)
        .addBuzzer(buzzer)
        .addMelodySpeaker(speaker);
    root.addDocument(document);
    return root.getCommands();
}

bool writeFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    std::string imagePath;
    std::string outDir = ".";
    std::string emulationName = "kestrin";
    std::string modelName = "harlo599KZ";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--image") {
            imagePath = argv[i + 1];
        } else if (option == "--out") {
            outDir = argv[i + 1];
        } else if (option == "--emulation") {
            emulationName = argv[i + 1];
        } else if (option == "--model") {
            modelName = argv[i + 1];
        } else {
            std::cerr << "unknown option " << option << "\n";
            return 2;
        }
    }

    ImagePixels picture = gradient(192, 48);
    if (!imagePath.empty()) {
        auto loaded = ImagePixels::loadFile(imagePath);
        if (!loaded) {
            std::cerr << "cannot read image " << imagePath << "\n";
            return 1;
        }
        picture = *loaded;
    }

    const std::string document = buildReceipt(picture);
    if (!writeFile(outDir + "/receipt.json", document.data(), document.size())) {
        std::cerr << "cannot write " << outDir << "/receipt.json\n";
        return 1;
    }

    std::optional<OrvoPrinterEmulation> emulation;
    for (int raw = 0; raw <= 6; ++raw) {
        const auto candidate = static_cast<OrvoPrinterEmulation>(raw);
        if (PrinterEmulations::description(candidate) == emulationName) emulation = candidate;
    }
    std::optional<OrvoPrinterModel> model;
    for (const auto candidate : PrinterModels::allCases()) {
        if (PrinterModels::description(candidate) == modelName) model = candidate;
    }
    if (!emulation || !model) {
        std::cerr << "unknown emulation or model\n";
        return 2;
    }
    try {
        VelmarCommandParser parser;
        const std::vector<std::uint8_t> bytes = parser.parse(document, std::nullopt, *model, *emulation);
        if (!writeFile(outDir + "/receipt.bin", bytes.data(), bytes.size())) {
            std::cerr << "cannot write " << outDir << "/receipt.bin\n";
            return 1;
        }
        std::cout << "receipt.json: " << document.size() << " bytes, receipt.bin: " << bytes.size()
                  << " bytes (" << emulationName << ", " << modelName << ")\n";
    } catch (const Prelix10Error& error) {
        std::cerr << "compile failed: " << error.description() << "\n";
        return 1;
    }
    return 0;
}
