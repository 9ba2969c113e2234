// The command document builders and the status accessors through the C interface.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CApiTestSupport.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

// Every "method" value anywhere in the document, in order.
void collectMethods(const nlohmann::json& node, std::vector<std::string>& out) {
    if (node.is_object()) {
        if (auto it = node.find("method"); it != node.end() && it->is_string()) out.push_back(*it);
        for (const auto& [key, value] : node.items()) collectMethods(value, out);
    } else if (node.is_array()) {
        for (const auto& value : node) collectMethods(value, out);
    }
}

}  // namespace

TEST(BuilderFace, AReceiptBuildsIntoACommandDocumentWithEveryStep) {
    prelix10_printer_builder* p = prelix10_printer_builder_create(nullptr);
    prelix10_document_builder* d = prelix10_document_builder_create(nullptr);
    const std::uint8_t grey[4] = {0, 255, 255, 0};
    const std::uint8_t raw[2] = {0x1B, 0x40};
    ASSERT_EQ(prelix10_printer_builder_style_alignment(p, PRELIX10_ALIGNMENT_CENTER, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_builder_style_bold(p, 1, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_builder_action_print_text(p, "Caf\xC3\xA9\n", nullptr), PRELIX10_OK);
    ASSERT_EQ(
        prelix10_printer_builder_action_print_barcode(p, "0042", PRELIX10_BARCODE_CODE39, 8, 1, nullptr),
        PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_builder_action_print_qr_code(p, "qr", PRELIX10_QR_LEVEL_H, 5, nullptr),
              PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_builder_action_print_image(p, grey, 2, 2, 16, 1, 100, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_builder_action_feed_line(p, 2, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_builder_action_cut(p, PRELIX10_CUT_FULL, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_document_builder_add_printer(d, p, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_document_builder_add_drawer_open(d, PRELIX10_DRAWER_2, 150, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_document_builder_add_raw(d, raw, sizeof raw, nullptr), PRELIX10_OK);
    prelix10_printer_builder_release(p);  // the document keeps what it needs

    char* commands = prelix10_document_builder_get_commands(d, nullptr);
    ASSERT_NE(commands, nullptr);
    const auto document = nlohmann::json::parse(commands);
    prelix10_string_release(commands);
    prelix10_document_builder_release(d);

    std::vector<std::string> methods;
    collectMethods(document, methods);
    const std::string all = nlohmann::json(methods).dump();
    for (const char* step :
         {"Style.Alignment", "Style.Bold", "Action.Print.Text", "Action.Print.Barcode", "Action.Print.QRCode",
          "Action.Print.Image", "Action.Feed.Line", "Action.Cut", "Action.Open", "Raw.Send"}) {
        EXPECT_NE(std::find(methods.begin(), methods.end(), step), methods.end()) << step << " in " << all;
    }
    const std::string text = document.dump();
    EXPECT_NE(text.find("Caf\xC3\xA9"), std::string::npos);
    EXPECT_NE(text.find("\"0042\""), std::string::npos);
}

class StatusFace : public VirtualPrinterFixture {};

TEST_F(StatusFace, FlagsDescriptionAndDetailOfAStatus) {
    engine->update([](PrinterState& s) {
        s.paperNearEmpty = true;
        s.drawerSignal = true;
    });
    prelix10_printer* printer = makePrinter();
    open(printer);
    struct Kept {
        Report report;
        prelix10_status* status = nullptr;
    } kept;
    auto onStatus = [](void* c, const prelix10_status* status, const prelix10_error*) {
        auto* self = static_cast<Kept*>(c);
        self->status = prelix10_status_copy(status, nullptr);
        self->report.finish();
    };
    ASSERT_EQ(prelix10_printer_get_status(printer, onStatus, &kept, nullptr), PRELIX10_OK);
    ASSERT_TRUE(kept.report.wait());
    ASSERT_NE(kept.status, nullptr);

    prelix10_status_flags flags{};
    ASSERT_EQ(prelix10_status_get_flags(kept.status, &flags, nullptr), PRELIX10_OK);
    EXPECT_EQ(flags.paper_near_empty, 1);
    EXPECT_EQ(flags.drawer_open_close_signal, 1);
    EXPECT_EQ(flags.paper_empty, 0);
    char* description = prelix10_status_description(kept.status, nullptr);
    ASSERT_NE(description, nullptr);
    EXPECT_NE(std::string(description).find("paperNearEmpty"), std::string::npos) << description;
    prelix10_string_release(description);
    char* detail = prelix10_status_detail_json(kept.status, nullptr);
    ASSERT_NE(detail, nullptr);
    const auto json = nlohmann::json::parse(detail);
    prelix10_string_release(detail);
    ASSERT_TRUE(json.is_object());
    EXPECT_FALSE(json.empty());
    bool anyValue = false;
    for (const auto& [name, value] : json.items()) {
        EXPECT_TRUE(value.is_null() || value.is_boolean() || value.is_number_integer()) << name;
        anyValue = anyValue || !value.is_null();
    }
    EXPECT_TRUE(anyValue);
    prelix10_status_release(kept.status);
    close(printer);
    prelix10_printer_release(printer);
}
