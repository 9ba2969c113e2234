// Every function of the printer, status, builder and discovery faces, called with handles that are not
// live handles of the right type: each fails with an argument error record and never calls back.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "prelix10/capi/prelix10.h"

namespace {

enum class Kind { status, printer, printerBuilder, documentBuilder, discovery, error };

// A completion that must never run: the call that took it failed.
bool called = false;
void neverError(void*, const prelix10_error*) {
    called = true;
}
void neverVoid(void*) {
    called = true;
}
void neverBytes(void*, const uint8_t*, size_t, const prelix10_error*) {
    called = true;
}
void neverText(void*, const char*, const prelix10_error*) {
    called = true;
}
void neverInt(void*, int64_t, const prelix10_error*) {
    called = true;
}
void neverStatus(void*, const prelix10_status*, const prelix10_error*) {
    called = true;
}
void neverJob(void*, const prelix10_spool_job_status*, const prelix10_error*) {
    called = true;
}
void neverJobs(void*, const prelix10_spool_job_status*, size_t, const prelix10_error*) {
    called = true;
}

// One function: called with `handle` in its handle argument (every other argument valid); returns its
// status, a pointer result counting as failed when NULL.
struct Entry {
    const char* name;
    Kind kind;
    std::function<int(void* handle, prelix10_error** error)> call;
};

template <typename T>
int failedIfNull(T* pointer, void (*release)(T*)) {
    if (pointer == nullptr) return PRELIX10_FAILED;
    release(pointer);
    return PRELIX10_OK;
}
void releaseText(char* text) {
    prelix10_string_release(text);
}

#define P(h) static_cast<prelix10_printer*>(h)
#define S(h) static_cast<prelix10_status*>(h)
#define PB(h) static_cast<prelix10_printer_builder*>(h)
#define DB(h) static_cast<prelix10_document_builder*>(h)
#define D(h) static_cast<prelix10_discovery*>(h)

const uint8_t kBytes[4] = {1, 2, 3, 4};
const char* const kText = "x";

std::vector<Entry> entries() {
    int i = 0;
    int64_t i64 = 0;
    char* text = nullptr;
    prelix10_status_flags flags{};
    const prelix10_spool_job_settings job{0, 10, "note"};
    const prelix10_printer_delegate pd{};
    const prelix10_drawer_delegate dd{};
    const prelix10_input_device_delegate id{};
    const prelix10_display_delegate sd{};
    const prelix10_discovery_delegate disc{};
    return {
        {"prelix10_status_get_flags", Kind::status,
         [=](void* h, auto e) mutable { return prelix10_status_get_flags(S(h), &flags, e); }},
        {"prelix10_status_description", Kind::status,
         [](void* h, auto e) { return failedIfNull(prelix10_status_description(S(h), e), releaseText); }},
        {"prelix10_status_detail_json", Kind::status,
         [](void* h, auto e) { return failedIfNull(prelix10_status_detail_json(S(h), e), releaseText); }},
        {"prelix10_status_copy", Kind::status,
         [](void* h, auto e) {
             return failedIfNull(prelix10_status_copy(S(h), e), prelix10_status_release);
         }},
        {"prelix10_printer_get_interface_type", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_interface_type(P(h), &i, e); }},
        {"prelix10_printer_get_identifier", Kind::printer,
         [](void* h, auto e) { return failedIfNull(prelix10_printer_get_identifier(P(h), e), releaseText); }},
        {"prelix10_printer_get_timeout", Kind::printer,
         [=](void* h, auto e) mutable {
             return prelix10_printer_get_timeout(P(h), PRELIX10_TIMEOUT_PRINT, &i, e);
         }},
        {"prelix10_printer_set_timeout", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_set_timeout(P(h), PRELIX10_TIMEOUT_PRINT, 10, e); }},
        {"prelix10_printer_set_template", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_set_template(P(h), kText, e); }},
        {"prelix10_printer_get_template", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_template(P(h), &text, e); }},
        {"prelix10_printer_get_model", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_model(P(h), &i, e); }},
        {"prelix10_printer_get_model_name", Kind::printer,
         [](void* h, auto e) { return failedIfNull(prelix10_printer_get_model_name(P(h), e), releaseText); }},
        {"prelix10_printer_get_emulation", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_emulation(P(h), &i, e); }},
        {"prelix10_printer_get_ip_address", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_ip_address(P(h), &text, e); }},
        {"prelix10_printer_is_opened", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_is_opened(P(h), &i, e); }},
        {"prelix10_printer_description", Kind::printer,
         [](void* h, auto e) { return failedIfNull(prelix10_printer_description(P(h), e), releaseText); }},
        {"prelix10_printer_get_auto_switch_interface", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_auto_switch_interface(P(h), &i, e); }},
        {"prelix10_printer_set_connection_settings", Kind::printer,
         [](void* h, auto e) {
             return prelix10_printer_set_connection_settings(P(h), PRELIX10_INTERFACE_LAN, kText, 0, e);
         }},
        {"prelix10_printer_get_information_json", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_information_json(P(h), &text, e); }},
        {"prelix10_printer_get_error_detail_json", Kind::printer,
         [=](void* h, auto e) mutable { return prelix10_printer_get_error_detail_json(P(h), &text, e); }},
        {"prelix10_printer_open", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_open(P(h), neverError, nullptr, e); }},
        {"prelix10_printer_close", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_close(P(h), neverVoid, nullptr, e); }},
        {"prelix10_printer_write", Kind::printer,
         [](void* h, auto e) {
             return prelix10_printer_write(P(h), kBytes, 4, 100, neverError, nullptr, e);
         }},
        {"prelix10_printer_read", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_read(P(h), 4, neverBytes, nullptr, e); }},
        {"prelix10_printer_print_raw", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_print_raw(P(h), kBytes, 4, neverError, nullptr, e); }},
        {"prelix10_printer_print_command", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_print_command(P(h), kText, neverError, nullptr, e); }},
        {"prelix10_printer_spool_print", Kind::printer,
         [=](void* h, auto e) {
             return prelix10_printer_spool_print(P(h), kText, &job, neverInt, nullptr, e);
         }},
        {"prelix10_printer_get_status", Kind::printer,
         [](void* h, auto e) { return prelix10_printer_get_status(P(h), neverStatus, nullptr, e); }},
        {"prelix10_printer_get_spool_job_status", Kind::printer,
         [](void* h, auto e) {
             return prelix10_printer_get_spool_job_status(P(h), 1, neverJob, nullptr, e);
         }},
        {"prelix10_printer_get_spool_job_status_list", Kind::printer,
         [](void* h, auto e) {
             return prelix10_printer_get_spool_job_status_list(P(h), 3, neverJobs, nullptr, e);
         }},
        {"prelix10_printer_set_configuration", Kind::printer,
         [](void* h, auto e) {
             return prelix10_printer_set_configuration(P(h), kText, neverInt, nullptr, e);
         }},
        {"prelix10_printer_get_configuration", Kind::printer,
         [](void* h, auto e) {
             return prelix10_printer_get_configuration(P(h), nullptr, neverText, nullptr, e);
         }},
        {"prelix10_printer_get_default_configuration", Kind::printer,
         [](void* h, auto e) {
             return prelix10_printer_get_default_configuration(P(h), neverText, nullptr, e);
         }},
        {"prelix10_printer_set_printer_delegate", Kind::printer,
         [=](void* h, auto e) { return prelix10_printer_set_printer_delegate(P(h), &pd, e); }},
        {"prelix10_printer_set_drawer_delegate", Kind::printer,
         [=](void* h, auto e) { return prelix10_printer_set_drawer_delegate(P(h), &dd, e); }},
        {"prelix10_printer_set_input_device_delegate", Kind::printer,
         [=](void* h, auto e) { return prelix10_printer_set_input_device_delegate(P(h), &id, e); }},
        {"prelix10_printer_set_display_delegate", Kind::printer,
         [=](void* h, auto e) { return prelix10_printer_set_display_delegate(P(h), &sd, e); }},
        {"prelix10_printer_builder_style_alignment", Kind::printerBuilder,
         [](void* h, auto e) {
             return prelix10_printer_builder_style_alignment(PB(h), PRELIX10_ALIGNMENT_CENTER, e);
         }},
        {"prelix10_printer_builder_style_font", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_style_font(PB(h), PRELIX10_FONT_B, e); }},
        {"prelix10_printer_builder_style_bold", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_style_bold(PB(h), 1, e); }},
        {"prelix10_printer_builder_style_invert", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_style_invert(PB(h), 1, e); }},
        {"prelix10_printer_builder_style_underline", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_style_underline(PB(h), 1, e); }},
        {"prelix10_printer_builder_style_magnification", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_style_magnification(PB(h), 2, 2, e); }},
        {"prelix10_printer_builder_action_print_text", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_action_print_text(PB(h), kText, e); }},
        {"prelix10_printer_builder_action_feed", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_action_feed(PB(h), 1.0, e); }},
        {"prelix10_printer_builder_action_feed_line", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_action_feed_line(PB(h), 1, e); }},
        {"prelix10_printer_builder_action_cut", Kind::printerBuilder,
         [](void* h, auto e) { return prelix10_printer_builder_action_cut(PB(h), PRELIX10_CUT_FULL, e); }},
        {"prelix10_printer_builder_action_print_barcode", Kind::printerBuilder,
         [](void* h, auto e) {
             return prelix10_printer_builder_action_print_barcode(PB(h), "1234", PRELIX10_BARCODE_CODE39, 10,
                                                                  1, e);
         }},
        {"prelix10_printer_builder_action_print_qr_code", Kind::printerBuilder,
         [](void* h, auto e) {
             return prelix10_printer_builder_action_print_qr_code(PB(h), kText, PRELIX10_QR_LEVEL_L, 3, e);
         }},
        {"prelix10_printer_builder_action_print_image", Kind::printerBuilder,
         [](void* h, auto e) {
             return prelix10_printer_builder_action_print_image(PB(h), kBytes, 2, 2, 8, 0, 127, e);
         }},
        {"prelix10_document_builder_add_printer", Kind::documentBuilder,
         [](void* h, auto e) {
             prelix10_printer_builder* steps = prelix10_printer_builder_create(nullptr);
             const int rc = prelix10_document_builder_add_printer(DB(h), steps, e);
             prelix10_printer_builder_release(steps);
             return rc;
         }},
        {"prelix10_document_builder_add_drawer_open", Kind::documentBuilder,
         [](void* h, auto e) {
             return prelix10_document_builder_add_drawer_open(DB(h), PRELIX10_DRAWER_1, 100, e);
         }},
        {"prelix10_document_builder_add_raw", Kind::documentBuilder,
         [](void* h, auto e) { return prelix10_document_builder_add_raw(DB(h), kBytes, 4, e); }},
        {"prelix10_document_builder_get_commands", Kind::documentBuilder,
         [](void* h, auto e) {
             return failedIfNull(prelix10_document_builder_get_commands(DB(h), e), releaseText);
         }},
        {"prelix10_discovery_set_delegate", Kind::discovery,
         [=](void* h, auto e) { return prelix10_discovery_set_delegate(D(h), &disc, e); }},
        {"prelix10_discovery_set_time", Kind::discovery,
         [](void* h, auto e) { return prelix10_discovery_set_time(D(h), 100, e); }},
        {"prelix10_discovery_get_time", Kind::discovery,
         [=](void* h, auto e) mutable { return prelix10_discovery_get_time(D(h), &i64, e); }},
        {"prelix10_discovery_start", Kind::discovery,
         [](void* h, auto e) { return prelix10_discovery_start(D(h), e); }},
        {"prelix10_discovery_stop", Kind::discovery,
         [](void* h, auto e) { return prelix10_discovery_stop(D(h), e); }},
    };
}

// Functions that take no handle, or only release one, and so have no argument error to give.
const std::set<std::string> kWithoutHandleError = {"prelix10_error_copy",
                                                   "prelix10_error_release",
                                                   "prelix10_string_release",
                                                   "prelix10_bytes_release",
                                                   "prelix10_version",
                                                   "prelix10_status_release",
                                                   "prelix10_printer_create",
                                                   "prelix10_printer_release",
                                                   "prelix10_printer_builder_create",
                                                   "prelix10_printer_builder_release",
                                                   "prelix10_document_builder_create",
                                                   "prelix10_document_builder_release",
                                                   "prelix10_discovery_create",
                                                   "prelix10_discovery_release",
                                                   "prelix10_lan_use_loopback"};

// The functions the header declares from its start up to the sections of the setting objects.
std::set<std::string> declaredFunctions() {
    std::ifstream file(std::string(PRELIX10_SOURCE_DIR) + "/src/prelix10/capi/prelix10.h");
    std::stringstream text;
    text << file.rdbuf();
    std::string header = text.str();
    header = header.substr(0, header.find("/* ---- Printer setting and firmware"));
    std::set<std::string> names;
    const std::regex declaration(R"(PRELIX10_C_API[^;]*?\b(prelix10_\w+)\s*\()");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), declaration);
         it != std::sregex_iterator(); ++it) {
        names.insert((*it)[1]);
    }
    return names;
}

// One live handle of each kind, for the wrong-type calls.
struct LiveHandles {
    LiveHandles() {
        printer = prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, nullptr);
        printerBuilder = prelix10_printer_builder_create(nullptr);
        documentBuilder = prelix10_document_builder_create(nullptr);
        const int lan = PRELIX10_INTERFACE_LAN;
        discovery = prelix10_discovery_create(&lan, 1, nullptr);
    }
    ~LiveHandles() {
        prelix10_printer_release(printer);
        prelix10_printer_builder_release(printerBuilder);
        prelix10_document_builder_release(documentBuilder);
        prelix10_discovery_release(discovery);
    }
    // A live handle of another kind than `kind`.
    void* foreignTo(Kind kind) const {
        return kind == Kind::documentBuilder ? static_cast<void*>(printerBuilder)
                                             : static_cast<void*>(documentBuilder);
    }
    prelix10_printer* printer;
    prelix10_printer_builder* printerBuilder;
    prelix10_document_builder* documentBuilder;
    prelix10_discovery* discovery;
};

// A handle of the kind that was released again, so its address is known to be dead.
void* releasedHandle(Kind kind) {
    const int lan = PRELIX10_INTERFACE_LAN;
    switch (kind) {
        case Kind::printer: {
            auto* h = prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, nullptr);
            prelix10_printer_release(h);
            return h;
        }
        case Kind::printerBuilder: {
            auto* h = prelix10_printer_builder_create(nullptr);
            prelix10_printer_builder_release(h);
            return h;
        }
        case Kind::documentBuilder: {
            auto* h = prelix10_document_builder_create(nullptr);
            prelix10_document_builder_release(h);
            return h;
        }
        case Kind::discovery: {
            auto* h = prelix10_discovery_create(&lan, 1, nullptr);
            prelix10_discovery_release(h);
            return h;
        }
        default:
            return reinterpret_cast<void*>(0x10);
    }
}

}  // namespace

TEST(CApiArguments, EveryFunctionRejectsHandlesThatAreNotLiveHandlesOfItsType) {
    LiveHandles live;
    ASSERT_NE(live.printer, nullptr);
    ASSERT_NE(live.discovery, nullptr);
    // Memory that is no handle at all: it is never read, only looked up.
    alignas(16) static unsigned char garbage[256];

    std::set<std::string> covered(kWithoutHandleError);
    for (const auto& entry : entries()) {
        covered.insert(entry.name);
        const struct {
            const char* what;
            void* handle;
        } cases[] = {{"NULL", nullptr},
                     {"released", releasedHandle(entry.kind)},
                     {"wrong type", live.foreignTo(entry.kind)},
                     {"garbage", garbage}};
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(entry.name) + " with a " + c.what + " handle");
            called = false;
            prelix10_error* error = nullptr;
            EXPECT_EQ(entry.call(c.handle, &error), PRELIX10_FAILED);
            ASSERT_NE(error, nullptr);
            EXPECT_STREQ(error->domain, "Prelix10.PRELIX10Error");
            EXPECT_EQ(error->code, PRELIX10_ERROR_ARGUMENT);
            EXPECT_NE(std::string(error->message).find("Invalid handle"), std::string::npos)
                << error->message;
            prelix10_error_release(error);
            // Without an error slot the call fails the same way.
            EXPECT_EQ(entry.call(c.handle, nullptr), PRELIX10_FAILED);
            EXPECT_FALSE(called);
        }
    }
    EXPECT_EQ(covered, declaredFunctions()) << "a function of the header is missing from the table";
}

TEST(CApiArguments, ReleaseAndCopyFunctionsIgnoreWhatIsNotTheirs) {
    alignas(16) static unsigned char garbage[256];
    LiveHandles live;
    // A handle of another type given to a release function stays alive.
    prelix10_printer_release(reinterpret_cast<prelix10_printer*>(live.documentBuilder));
    prelix10_discovery_release(reinterpret_cast<prelix10_discovery*>(live.printer));
    prelix10_error* error = nullptr;
    EXPECT_EQ(prelix10_document_builder_add_raw(live.documentBuilder, nullptr, 0, &error), PRELIX10_OK);
    int opened = -1;
    EXPECT_EQ(prelix10_printer_is_opened(live.printer, &opened, nullptr), PRELIX10_OK);
    EXPECT_EQ(opened, 0);
    for (void* h :
         {static_cast<void*>(nullptr), static_cast<void*>(garbage), releasedHandle(Kind::printer)}) {
        prelix10_printer_release(static_cast<prelix10_printer*>(h));
        prelix10_status_release(static_cast<prelix10_status*>(h));
        prelix10_printer_builder_release(static_cast<prelix10_printer_builder*>(h));
        prelix10_document_builder_release(static_cast<prelix10_document_builder*>(h));
        prelix10_discovery_release(static_cast<prelix10_discovery*>(h));
        prelix10_error_release(static_cast<prelix10_error*>(h));
        EXPECT_EQ(prelix10_error_copy(static_cast<prelix10_error*>(h)), nullptr);
    }
    prelix10_string_release(nullptr);
    prelix10_bytes_release(nullptr);
}

TEST(CApiArguments, BadValuesBesideAGoodHandleAreArgumentErrors) {
    LiveHandles live;
    prelix10_printer_builder* b = live.printerBuilder;
    const int unknownInterface = 9;
    const struct {
        const char* what;
        std::function<int(prelix10_error**)> call;
    } cases[] = {
        {"interface type",
         [](auto e) {
             return failedIfNull(prelix10_printer_create(7, "x", 0, e), prelix10_printer_release);
         }},
        {"identifier",
         [](auto e) {
             return failedIfNull(prelix10_printer_create(PRELIX10_INTERFACE_LAN, nullptr, 0, e),
                                 prelix10_printer_release);
         }},
        {"discovery interfaces",
         [&](auto e) {
             return failedIfNull(prelix10_discovery_create(&unknownInterface, 1, e),
                                 prelix10_discovery_release);
         }},
        {"no discovery interfaces",
         [](auto e) {
             return failedIfNull(prelix10_discovery_create(nullptr, 0, e), prelix10_discovery_release);
         }},
        {"timeout kind", [&](auto e) { return prelix10_printer_set_timeout(live.printer, 9, 1, e); }},
        {"output NULL", [&](auto e) { return prelix10_printer_is_opened(live.printer, nullptr, e); }},
        {"data NULL",
         [&](auto e) { return prelix10_printer_print_raw(live.printer, nullptr, 3, nullptr, nullptr, e); }},
        {"command NULL",
         [&](auto e) { return prelix10_printer_print_command(live.printer, nullptr, nullptr, nullptr, e); }},
        {"spool settings NULL",
         [&](auto e) {
             return prelix10_printer_spool_print(live.printer, "x", nullptr, nullptr, nullptr, e);
         }},
        {"alignment", [&](auto e) { return prelix10_printer_builder_style_alignment(b, 3, e); }},
        {"negative cut", [&](auto e) { return prelix10_printer_builder_action_cut(b, -1, e); }},
        {"symbology",
         [&](auto e) { return prelix10_printer_builder_action_print_barcode(b, "1", 11, 10, 0, e); }},
        {"magnification", [&](auto e) { return prelix10_printer_builder_style_magnification(b, 7, 1, e); }},
        {"qr level", [&](auto e) { return prelix10_printer_builder_action_print_qr_code(b, "x", 4, 3, e); }},
        {"image pixels NULL",
         [&](auto e) { return prelix10_printer_builder_action_print_image(b, nullptr, 1, 1, 8, 0, 127, e); }},
        {"image size",
         [&](auto e) { return prelix10_printer_builder_action_print_image(b, kBytes, 0, 1, 8, 0, 127, e); }},
        {"image too large",
         [&](auto e) {
             return prelix10_printer_builder_action_print_image(b, kBytes, 65536, 65536, 8, 0, 127, e);
         }},
        {"threshold",
         [&](auto e) { return prelix10_printer_builder_action_print_image(b, kBytes, 2, 2, 8, 0, 256, e); }},
        {"drawer channel",
         [&](auto e) { return prelix10_document_builder_add_drawer_open(live.documentBuilder, 4, 100, e); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prelix10_error* error = nullptr;
        EXPECT_EQ(c.call(&error), PRELIX10_FAILED);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->code, PRELIX10_ERROR_ARGUMENT);
        prelix10_error_release(error);
    }
}
