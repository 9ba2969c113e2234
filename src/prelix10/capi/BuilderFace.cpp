#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "prelix10/builder/DocumentBuilder.hpp"
#include "prelix10/builder/DrawerBuilder.hpp"
#include "prelix10/builder/PrinterBuilder.hpp"
#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/capi/CApiSupport.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;
using namespace Prelix10::VelmarCommand;

struct prelix10_printer_builder {
    PrinterBuilder builder;
};

struct prelix10_document_builder {
    DocumentBuilder builder;
};

namespace {

// Builders share their steps (a document refers to the printer builders added to it), so the calls on
// builders run one at a time across the process, each holding the lock until it returns; all are short.
void lockBuilders() {
    static std::recursive_mutex mutex;
    CallScope::hold(std::make_shared<std::unique_lock<std::recursive_mutex>>(mutex));
}

PrinterBuilder& printerBuilderOf(const prelix10_printer_builder* handle) {
    lockBuilders();
    return checked(handle, "builder").builder;
}

DocumentBuilder& documentBuilderOf(const prelix10_document_builder* handle) {
    lockBuilders();
    return checked(handle, "builder").builder;
}

// A raw value of one of the header's enumerations, checked against the number of cases.
template <typename Enumeration>
Enumeration caseOf(int raw, int count, const char* name) {
    if (raw < 0 || raw >= count) throw argumentError(std::string("Invalid argument: ") + name + ".");
    return static_cast<Enumeration>(raw);
}

}  // namespace

extern "C" {

prelix10_printer_builder* prelix10_printer_builder_create(prelix10_error** error) {
    return guardedValue<prelix10_printer_builder*>(error, nullptr,
                                                   [] { return newHandle<prelix10_printer_builder>(); });
}

void prelix10_printer_builder_release(prelix10_printer_builder* builder) {
    releaseHandle(builder);
}

int prelix10_printer_builder_style_alignment(prelix10_printer_builder* builder, int alignment,
                                             prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        b.styleAlignment(caseOf<Printer::Alignment>(alignment, 3, "alignment"));
    });
}

int prelix10_printer_builder_style_font(prelix10_printer_builder* builder, int font, prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        b.styleFont(caseOf<Printer::FontType>(font, 2, "font"));
    });
}

int prelix10_printer_builder_style_bold(prelix10_printer_builder* builder, int enable,
                                        prelix10_error** error) {
    return guarded(error, [&] { printerBuilderOf(builder).styleBold(enable != 0); });
}

int prelix10_printer_builder_style_invert(prelix10_printer_builder* builder, int enable,
                                          prelix10_error** error) {
    return guarded(error, [&] { printerBuilderOf(builder).styleInvert(enable != 0); });
}

int prelix10_printer_builder_style_underline(prelix10_printer_builder* builder, int enable,
                                             prelix10_error** error) {
    return guarded(error, [&] { printerBuilderOf(builder).styleUnderLine(enable != 0); });
}

int prelix10_printer_builder_style_magnification(prelix10_printer_builder* builder, int width, int height,
                                                 prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        if (width < 1 || width > 6 || height < 1 || height > 6) {
            throw argumentError("Invalid argument: magnification.");
        }
        b.styleMagnification(MagnificationParameter(width, height));
    });
}

int prelix10_printer_builder_action_print_text(prelix10_printer_builder* builder, const char* text,
                                               prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        b.actionPrintText(textFrom(text, "text"));
    });
}

int prelix10_printer_builder_action_feed(prelix10_printer_builder* builder, double height,
                                         prelix10_error** error) {
    return guarded(error, [&] { printerBuilderOf(builder).actionFeed(height); });
}

int prelix10_printer_builder_action_feed_line(prelix10_printer_builder* builder, int lines,
                                              prelix10_error** error) {
    return guarded(error, [&] { printerBuilderOf(builder).actionFeedLine(lines); });
}

int prelix10_printer_builder_action_cut(prelix10_printer_builder* builder, int cut_type,
                                        prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        b.actionCut(caseOf<Printer::CutType>(cut_type, 5, "cut_type"));
    });
}

int prelix10_printer_builder_action_print_barcode(prelix10_printer_builder* builder, const char* content,
                                                  int symbology, double height, int print_hri,
                                                  prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        Printer::BarcodeParameter parameter(textFrom(content, "content"),
                                            caseOf<Printer::BarcodeSymbology>(symbology, 11, "symbology"));
        parameter.setHeight(height).setPrintHRI(print_hri != 0);
        b.actionPrintBarcode(parameter);
    });
}

int prelix10_printer_builder_action_print_qr_code(prelix10_printer_builder* builder, const char* content,
                                                  int level, int cell_size, prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        Printer::QRCodeParameter parameter(textFrom(content, "content"));
        parameter.setLevel(caseOf<Printer::QRCodeLevel>(level, 4, "level")).setCellSize(cell_size);
        b.actionPrintQRCode(parameter);
    });
}

int prelix10_printer_builder_action_print_image(prelix10_printer_builder* builder, const uint8_t* grey_pixels,
                                                int width, int height, int print_width, int effect_diffusion,
                                                int threshold, prelix10_error** error) {
    return guarded(error, [&] {
        auto& b = printerBuilderOf(builder);
        if (grey_pixels == nullptr) throw argumentError("Invalid argument: grey_pixels is NULL.");
        if (width < 1 || height < 1 || print_width < 1) throw argumentError("Invalid argument: image size.");
        if (threshold < 0 || threshold > 255) throw argumentError("Invalid argument: threshold.");
        const auto pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
        if (width > ImagePixels::kMaximumSurfaceWidth || pixels * 4 > ImagePixels::kMaximumSurfaceBytes) {
            throw argumentError("Invalid argument: image size.");
        }
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(pixels) * 4);
        for (std::size_t i = 0; i < pixels; ++i) {
            rgba[i * 4] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = grey_pixels[i];
            rgba[i * 4 + 3] = 0xFF;
        }
        Printer::ImageParameter parameter(ImagePixels(width, height, std::move(rgba)), print_width);
        parameter.setEffectDiffusion(effect_diffusion != 0).setThreshold(threshold);
        b.actionPrintImage(parameter);
    });
}

prelix10_document_builder* prelix10_document_builder_create(prelix10_error** error) {
    return guardedValue<prelix10_document_builder*>(error, nullptr,
                                                    [] { return newHandle<prelix10_document_builder>(); });
}

void prelix10_document_builder_release(prelix10_document_builder* builder) {
    releaseHandle(builder);
}

int prelix10_document_builder_add_printer(prelix10_document_builder* builder,
                                          const prelix10_printer_builder* printer, prelix10_error** error) {
    return guarded(error, [&] {
        auto& document = documentBuilderOf(builder);
        const auto& steps = checked(printer, "printer").builder;
        document.addPrinter(steps);
    });
}

int prelix10_document_builder_add_drawer_open(prelix10_document_builder* builder, int channel, int on_time,
                                              prelix10_error** error) {
    return guarded(error, [&] {
        auto& document = documentBuilderOf(builder);
        Drawer::OpenParameter parameter;
        parameter.setChannel(caseOf<Drawer::Channel>(channel, 4, "channel")).setOnTime(on_time);
        DrawerBuilder drawer;
        drawer.actionOpen(parameter);
        document.addDrawer(drawer);
    });
}

int prelix10_document_builder_add_raw(prelix10_document_builder* builder, const uint8_t* data, size_t size,
                                      prelix10_error** error) {
    return guarded(error, [&] {
        auto& document = documentBuilderOf(builder);
        if (data == nullptr && size != 0) throw argumentError("Invalid argument: data is NULL.");
        document.addRaw(std::span<const std::uint8_t>(data, size));
    });
}

char* prelix10_document_builder_get_commands(const prelix10_document_builder* builder,
                                             prelix10_error** error) {
    return guardedValue<char*>(error, nullptr, [&] {
        const auto& document = documentBuilderOf(builder);
        VelmarCommandBuilder root;
        root.addDocument(document);
        return ownedText(root.getCommands());
    });
}

}  // extern "C"
