// The printer through the C interface, end to end against the virtual printer on loopback.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <thread>

#include "CApiTestSupport.hpp"
#include "support/Hex.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

std::string receipt(const char* line) {
    prelix10_printer_builder* p = prelix10_printer_builder_create(nullptr);
    prelix10_document_builder* d = prelix10_document_builder_create(nullptr);
    prelix10_printer_builder_action_print_text(p, line, nullptr);
    prelix10_printer_builder_action_cut(p, PRELIX10_CUT_PARTIAL, nullptr);
    prelix10_document_builder_add_printer(d, p, nullptr);
    char* commands = prelix10_document_builder_get_commands(d, nullptr);
    std::string out = commands ? commands : "";
    prelix10_string_release(commands);
    prelix10_document_builder_release(d);
    prelix10_printer_builder_release(p);
    return out;
}

bool contains(const Bytes& haystack, const std::string& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

class PrinterFace : public VirtualPrinterFixture {};

}  // namespace

TEST_F(PrinterFace, OpensPrintsReadsTheStatusAndCloses) {
    prelix10_printer* printer = makePrinter();
    open(printer);
    int opened = 0, model = 0;
    EXPECT_EQ(prelix10_printer_is_opened(printer, &opened, nullptr), PRELIX10_OK);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(prelix10_printer_get_model(printer, &model, nullptr), PRELIX10_OK);
    EXPECT_NE(model, 0);

    Report printed;
    ASSERT_EQ(prelix10_printer_print_command(printer, receipt("Corner Cafe\n").c_str(), Report::onError,
                                             &printed, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(printed.wait());
    EXPECT_FALSE(printed.hadError) << printed.message;
    EXPECT_TRUE(contains(engine->printedData(), "Corner Cafe"));

    const std::uint8_t raw[] = {'R', 'a', 'w', '\n'};
    Report rawPrinted;
    ASSERT_EQ(prelix10_printer_print_raw(printer, raw, sizeof raw, Report::onError, &rawPrinted, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(rawPrinted.wait());
    EXPECT_FALSE(rawPrinted.hadError) << rawPrinted.message;
    EXPECT_TRUE(contains(engine->printedData(), "Raw\n"));

    Report status;
    ASSERT_EQ(prelix10_printer_get_status(printer, Report::onStatus, &status, nullptr), PRELIX10_OK);
    ASSERT_TRUE(status.wait());
    EXPECT_FALSE(status.hadError) << status.message;
    ASSERT_TRUE(status.hadStatus);
    EXPECT_EQ(status.flags.has_error, 0);
    EXPECT_EQ(status.flags.cover_open, 0);
    EXPECT_EQ(status.flags.paper_empty, 0);

    close(printer);
    EXPECT_EQ(prelix10_printer_is_opened(printer, &opened, nullptr), PRELIX10_OK);
    EXPECT_EQ(opened, 0);
    prelix10_printer_release(printer);
}

TEST_F(PrinterFace, ErrorsReachTheCompletionAsRecords) {
    prelix10_printer* printer = makePrinter();
    // Not opened: an invalid operation without a detail code, through every kind of completion.
    Report print, read, status, job, configuration;
    ASSERT_EQ(prelix10_printer_print_command(printer, "{}", Report::onError, &print, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_read(printer, 4, Report::onBytes, &read, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_get_status(printer, Report::onStatus, &status, nullptr), PRELIX10_OK);
    const prelix10_spool_job_settings settings{1, 60, nullptr};
    ASSERT_EQ(prelix10_printer_spool_print(printer, "{}", &settings, Report::onInt, &job, nullptr),
              PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_get_configuration(printer, nullptr, Report::onText, &configuration, nullptr),
              PRELIX10_OK);
    for (Report* report : {&print, &read, &status, &job, &configuration}) {
        ASSERT_TRUE(report->wait());
        EXPECT_EQ(report->calls, 1);
        EXPECT_TRUE(report->hadError);
        EXPECT_EQ(report->domain, "Prelix10.PRELIX10Error");
        EXPECT_EQ(report->code, PRELIX10_ERROR_INVALID_OPERATION);
        EXPECT_EQ(report->message, "Not opened.");
        EXPECT_EQ(report->detailCode, 0);
    }
    EXPECT_FALSE(read.hadBytes);
    EXPECT_FALSE(status.hadStatus);
    EXPECT_EQ(job.value, -1);
    EXPECT_FALSE(configuration.text);

    // An open printer with its cover open: the error carries the detail code and the status it saw.
    engine->update([](PrinterState& s) { s.coverOpen = true; });
    open(printer);
    struct Unprintable {
        Report report;
        bool statusCoverOpen = false;
        prelix10_error* copy = nullptr;
    } unprintable;
    auto onUnprintable = [](void* context, const prelix10_error* error) {
        auto* self = static_cast<Unprintable*>(context);
        prelix10_status_flags flags{};
        if (error != nullptr && error->status != nullptr &&
            prelix10_status_get_flags(error->status, &flags, nullptr) == PRELIX10_OK) {
            self->statusCoverOpen = flags.cover_open == 1;
        }
        self->copy = prelix10_error_copy(error);
        self->report.onError(&self->report, error);
    };
    ASSERT_EQ(prelix10_printer_print_command(printer, receipt("never\n").c_str(), onUnprintable, &unprintable,
                                             nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(unprintable.report.wait());
    ASSERT_TRUE(unprintable.report.hadError);
    EXPECT_EQ(unprintable.report.code, PRELIX10_ERROR_UNPRINTABLE) << unprintable.report.message;
    EXPECT_NE(unprintable.report.detailCode, 0);
    EXPECT_TRUE(unprintable.statusCoverOpen);
    EXPECT_EQ(unprintable.report.keys,
              (std::vector<std::string>{PRELIX10_ERROR_DETAIL_ERROR_CODE_KEY, PRELIX10_ERROR_STATUS_KEY}));
    // The copy outlives the completion, its status included; the borrowed status cannot be released by it.
    ASSERT_NE(unprintable.copy, nullptr);
    EXPECT_EQ(unprintable.copy->detail_code, unprintable.report.detailCode);
    ASSERT_NE(unprintable.copy->status, nullptr);
    prelix10_status_release(const_cast<prelix10_status*>(unprintable.copy->status));
    prelix10_status_flags flags{};
    EXPECT_EQ(prelix10_status_get_flags(unprintable.copy->status, &flags, nullptr), PRELIX10_OK);
    EXPECT_EQ(flags.cover_open, 1);
    prelix10_error_release(unprintable.copy);
    close(printer);
    prelix10_printer_release(printer);
}

TEST_F(PrinterFace, BorrowedResultsAreValidOnlyDuringTheCompletion) {
    prelix10_printer* printer = makePrinter();
    open(printer);
    struct Kept {
        Report report;
        const prelix10_status* status = nullptr;
        const prelix10_error* error = nullptr;
    } kept;
    auto onStatus = [](void* context, const prelix10_status* status, const prelix10_error* error) {
        auto* self = static_cast<Kept*>(context);
        self->status = status;
        self->error = error;
        self->report.finish();
    };
    ASSERT_EQ(prelix10_printer_get_status(printer, onStatus, &kept, nullptr), PRELIX10_OK);
    ASSERT_TRUE(kept.report.wait());
    ASSERT_NE(kept.status, nullptr);
    // The queue is serial: once the close has reported, the status completion has returned.
    close(printer);
    // After the completion the lent status is gone: using it is an argument error, not a dangling read.
    prelix10_status_flags flags{};
    prelix10_error* error = nullptr;
    EXPECT_EQ(prelix10_status_get_flags(kept.status, &flags, &error), PRELIX10_FAILED);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, PRELIX10_ERROR_ARGUMENT);
    prelix10_error_release(error);
    prelix10_printer_release(printer);
}

TEST_F(PrinterFace, ACompletionMayCloseOrReleaseItsOwnPrinterAndStartAnotherOperation) {
    struct Chain {
        prelix10_printer* printer;
        Report closed;
        Report statusAfterClose;
    } chain{makePrinter(), {}, {}};
    open(chain.printer);
    // From the print's completion: close, and then ask for the status, which finds the printer closed.
    auto onPrinted = [](void* context, const prelix10_error*) {
        auto* self = static_cast<Chain*>(context);
        prelix10_printer_close(self->printer, Report::onVoid, &self->closed, nullptr);
        prelix10_printer_get_status(self->printer, Report::onStatus, &self->statusAfterClose, nullptr);
    };
    ASSERT_EQ(prelix10_printer_print_command(chain.printer, receipt("Chained\n").c_str(), onPrinted, &chain,
                                             nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(chain.closed.wait());
    ASSERT_TRUE(chain.statusAfterClose.wait());
    EXPECT_EQ(chain.statusAfterClose.message, "Not opened.");

    // From the open's completion: release the handle. The printer goes once its queue is done.
    struct Releaser {
        prelix10_printer* printer;
        Report report;
    } releaser{chain.printer, {}};
    auto onOpened = [](void* context, const prelix10_error* error) {
        auto* self = static_cast<Releaser*>(context);
        self->report.record(error);
        prelix10_printer_release(self->printer);
        self->report.finish();
    };
    ASSERT_EQ(prelix10_printer_open(chain.printer, onOpened, &releaser, nullptr), PRELIX10_OK);
    ASSERT_TRUE(releaser.report.wait());
    EXPECT_FALSE(releaser.report.hadError) << releaser.report.message;
    int opened = 0;
    EXPECT_EQ(prelix10_printer_is_opened(chain.printer, &opened, nullptr), PRELIX10_FAILED);
    // The released printer closed its connection: a new printer opens the same device.
    prelix10_printer* again = makePrinter();
    for (int attempt = 0; attempt < 50; ++attempt) {
        Report reopened;
        ASSERT_EQ(prelix10_printer_open(again, Report::onError, &reopened, nullptr), PRELIX10_OK);
        ASSERT_TRUE(reopened.wait());
        if (!reopened.hadError) break;
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(prelix10_printer_is_opened(again, &opened, nullptr), PRELIX10_OK);
    EXPECT_EQ(opened, 1);
    close(again);
    prelix10_printer_release(again);
}

TEST_F(PrinterFace, ReleasingWhileOperationsAreQueuedStillRunsTheirCompletions) {
    prelix10_printer* printer = makePrinter();
    Report opened, printed, closed;
    ASSERT_EQ(prelix10_printer_open(printer, Report::onError, &opened, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_print_command(printer, receipt("Queued\n").c_str(), Report::onError, &printed,
                                             nullptr),
              PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_close(printer, Report::onVoid, &closed, nullptr), PRELIX10_OK);
    prelix10_printer_release(printer);
    ASSERT_TRUE(opened.wait());
    ASSERT_TRUE(printed.wait());
    ASSERT_TRUE(closed.wait());
    EXPECT_FALSE(opened.hadError) << opened.message;
    EXPECT_FALSE(printed.hadError) << printed.message;
    EXPECT_TRUE(contains(engine->printedData(), "Queued"));
}

TEST_F(PrinterFace, PropertiesReadBackAndTheReadOfAnEmptyBlockIsNotNull) {
    prelix10_printer* printer = makePrinter();
    const struct {
        prelix10_printer_timeout which;
        int byDefault;
    } timeouts[] = {{PRELIX10_TIMEOUT_GET_STATUS, 5000},
                    {PRELIX10_TIMEOUT_PRINT, 30000},
                    {PRELIX10_TIMEOUT_CONFIGURATION, 90000}};
    for (const auto& t : timeouts) {
        int value = 0;
        EXPECT_EQ(prelix10_printer_get_timeout(printer, t.which, &value, nullptr), PRELIX10_OK);
        EXPECT_EQ(value, t.byDefault);
        EXPECT_EQ(prelix10_printer_set_timeout(printer, t.which, 1234, nullptr), PRELIX10_OK);
        EXPECT_EQ(prelix10_printer_get_timeout(printer, t.which, &value, nullptr), PRELIX10_OK);
        EXPECT_EQ(value, 1234);
    }
    char* text = reinterpret_cast<char*>(1);
    EXPECT_EQ(prelix10_printer_get_template(printer, &text, nullptr), PRELIX10_OK);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(prelix10_printer_set_template(printer, "{\"t\":1}", nullptr), PRELIX10_OK);
    EXPECT_EQ(prelix10_printer_get_template(printer, &text, nullptr), PRELIX10_OK);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "{\"t\":1}");
    prelix10_string_release(text);
    EXPECT_EQ(prelix10_printer_set_template(printer, nullptr, nullptr), PRELIX10_OK);
    char* identifier = prelix10_printer_get_identifier(printer, nullptr);
    EXPECT_STREQ(identifier, "127.0.0.1");
    prelix10_string_release(identifier);
    int type = 0;
    EXPECT_EQ(prelix10_printer_get_interface_type(printer, &type, nullptr), PRELIX10_OK);
    EXPECT_EQ(type, PRELIX10_INTERFACE_LAN);

    open(printer);
    Report read;
    ASSERT_EQ(prelix10_printer_read(printer, 0, Report::onBytes, &read, nullptr), PRELIX10_OK);
    ASSERT_TRUE(read.wait());
    if (!read.hadError) {
        EXPECT_TRUE(read.hadBytes);
        EXPECT_TRUE(read.bytes.empty());
    }
    close(printer);
    prelix10_printer_release(printer);
}

TEST_F(PrinterFace, ConnectionSettingsInformationAndErrorDetailAsJson) {
    prelix10_printer* printer = prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.2", 1, nullptr);
    int autoSwitch = -1;
    ASSERT_EQ(prelix10_printer_get_auto_switch_interface(printer, &autoSwitch, nullptr), PRELIX10_OK);
    EXPECT_EQ(autoSwitch, 1);
    char* json = reinterpret_cast<char*>(1);
    ASSERT_EQ(prelix10_printer_get_information_json(printer, &json, nullptr), PRELIX10_OK);
    EXPECT_EQ(json, nullptr) << "nothing is known before discovery or an open";

    // Pointed at the virtual printer instead, without auto-switch.
    ASSERT_EQ(prelix10_printer_set_connection_settings(printer, PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, nullptr),
              PRELIX10_OK);
    prelix10_error* error = nullptr;
    EXPECT_EQ(prelix10_printer_set_connection_settings(printer, 99, "127.0.0.1", 0, &error), PRELIX10_FAILED);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, PRELIX10_ERROR_ARGUMENT);
    prelix10_error_release(error);
    char* identifier = prelix10_printer_get_identifier(printer, nullptr);
    ASSERT_NE(identifier, nullptr);
    EXPECT_STREQ(identifier, "127.0.0.1");
    prelix10_string_release(identifier);
    ASSERT_EQ(prelix10_printer_get_auto_switch_interface(printer, &autoSwitch, nullptr), PRELIX10_OK);
    EXPECT_EQ(autoSwitch, 0);

    prelix10_printer_set_timeout(printer, PRELIX10_TIMEOUT_OPEN, 5000, nullptr);
    open(printer);
    ASSERT_EQ(prelix10_printer_get_information_json(printer, &json, nullptr), PRELIX10_OK);
    ASSERT_NE(json, nullptr);
    const auto information = nlohmann::json::parse(json);
    prelix10_string_release(json);
    int model = 0;
    prelix10_printer_get_model(printer, &model, nullptr);
    EXPECT_EQ(information.at("model"), model);
    EXPECT_TRUE(information.at("lan").contains("ipAddress"));
    for (const char* key : {"emulation", "bluetooth", "bluetoothLE", "usb", "reserved"}) {
        EXPECT_TRUE(information.contains(key)) << key;
    }

    ASSERT_EQ(prelix10_printer_get_error_detail_json(printer, &json, nullptr), PRELIX10_OK);
    ASSERT_NE(json, nullptr);
    EXPECT_EQ(nlohmann::json::parse(json), nlohmann::json::parse(R"({"autoSwitchInterfaceOpenErrors":null})"));
    prelix10_string_release(json);
    close(printer);
    prelix10_printer_release(printer);
}
