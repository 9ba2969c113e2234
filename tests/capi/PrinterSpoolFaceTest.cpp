// The spooler and configuration operations through the C interface, against the virtual printer's spooler
// and configuration store.
#include <gtest/gtest.h>

#include "CApiTestSupport.hpp"
#include "support/VirtualPrinterSpooler.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

struct Jobs {
    Report report;
    std::vector<std::int64_t> ids;
    std::vector<int> states;
    std::vector<std::string> notes, hostIps;
    bool nonNullList = false;
    void add(const prelix10_spool_job_status& job) {
        ids.push_back(job.job_id);
        states.push_back(job.job_state);
        notes.emplace_back(job.job_settings.note);
        hostIps.emplace_back(job.host_ip_address);
    }
    static void onJob(void* c, const prelix10_spool_job_status* job, const prelix10_error* error) {
        auto* self = static_cast<Jobs*>(c);
        self->report.record(error);
        if (job != nullptr) self->add(*job);
        self->report.finish();
    }
    static void onList(void* c, const prelix10_spool_job_status* jobs, size_t count,
                       const prelix10_error* error) {
        auto* self = static_cast<Jobs*>(c);
        self->report.record(error);
        self->nonNullList = jobs != nullptr;
        for (size_t i = 0; i < count; ++i) self->add(jobs[i]);
        self->report.finish();
    }
};

class PrinterSpoolFace : public VirtualPrinterFixture {
  protected:
    void SetUp() override {
        VirtualPrinterFixture::SetUp();
        spooler = std::make_unique<VirtualPrinterSpooler>(*engine);
    }
    void TearDown() override {
        VirtualPrinterFixture::TearDown();
        spooler.reset();
    }
    std::unique_ptr<VirtualPrinterSpooler> spooler;
};

}  // namespace

TEST_F(PrinterSpoolFace, SpoolPrintGivesTheJobIdAndTheJobComesBackWithItsSettings) {
    prelix10_printer* printer = makePrinter();
    open(printer);
    spooler->setNextJobId(7);
    Report printed;
    const prelix10_spool_job_settings settings{1, 120, "table 4"};
    ASSERT_EQ(prelix10_printer_spool_print(printer, "{}", &settings, Report::onInt, &printed, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(printed.wait());
    ASSERT_FALSE(printed.hadError) << printed.message;
    EXPECT_EQ(printed.value, 7);

    Jobs one;
    ASSERT_EQ(prelix10_printer_get_spool_job_status(printer, 7, Jobs::onJob, &one, nullptr), PRELIX10_OK);
    ASSERT_TRUE(one.report.wait());
    ASSERT_FALSE(one.report.hadError) << one.report.message;
    EXPECT_EQ(one.ids, std::vector<std::int64_t>{7});
    EXPECT_EQ(one.states, std::vector<int>{1});  // accepted
    EXPECT_EQ(one.notes, std::vector<std::string>{"table 4"});
    EXPECT_EQ(one.hostIps, std::vector<std::string>{"127.0.0.1"});

    Jobs list;
    ASSERT_EQ(prelix10_printer_get_spool_job_status_list(printer, 10, Jobs::onList, &list, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(list.report.wait());
    ASSERT_FALSE(list.report.hadError) << list.report.message;
    EXPECT_TRUE(list.nonNullList);
    EXPECT_EQ(list.ids, std::vector<std::int64_t>{7});
    close(printer);
    prelix10_printer_release(printer);
}

TEST_F(PrinterSpoolFace, ConfigurationIsReadWithOrWithoutPasswordAndWritten) {
    const std::string current = R"({"title":"orvo_configuration","version":"1.0"})";
    const std::string defaults = R"({"title":"orvo_configuration","version":"0.9"})";
    spooler->setDocument(0x23, current);
    spooler->setDocument(0x3B, defaults);
    prelix10_printer* printer = makePrinter();
    prelix10_printer_set_timeout(printer, PRELIX10_TIMEOUT_CONFIGURATION, 5000, nullptr);
    open(printer);

    Report withPassword, withoutPassword, byDefault, written;
    ASSERT_EQ(prelix10_printer_get_configuration(printer, "s3cret", Report::onText, &withPassword, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(withPassword.wait());
    EXPECT_EQ(withPassword.text, current);
    EXPECT_EQ(spooler->lastPassword(), "s3cret");
    ASSERT_EQ(prelix10_printer_get_configuration(printer, nullptr, Report::onText, &withoutPassword, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(withoutPassword.wait());
    EXPECT_EQ(withoutPassword.text, current);
    EXPECT_EQ(spooler->lastPassword(), "");
    ASSERT_EQ(prelix10_printer_get_default_configuration(printer, Report::onText, &byDefault, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(byDefault.wait());
    EXPECT_EQ(byDefault.text, defaults);

    const std::string updated = R"({"title":"orvo_configuration","version":"1.1"})";
    spooler->setSetReply(0x00, 1);
    ASSERT_EQ(prelix10_printer_set_configuration(printer, updated.c_str(), Report::onInt, &written, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(written.wait());
    EXPECT_FALSE(written.hadError) << written.message;
    EXPECT_EQ(written.value, 1);  // accepted
    close(printer);
    prelix10_printer_release(printer);
}
