#pragma once

#include <chrono>

#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "prelix10/setting/FirmwareUpdaterTesting.hpp"
#include "support/LocalCloudServer.hpp"

namespace Prelix10Test {

// For a firmware test's lifetime: the firmware functions talk to the given local cloud server, the
// transfer waits are short, and no diagnostics are uploaded. Everything is put back when it goes, so
// declare it after the server and let it go before the server does.
class FirmwareCloudEnvironment {
  public:
    explicit FirmwareCloudEnvironment(const LocalCloudServer& cloud)
        : saved_(Prelix10::CloudFirmwareFunction::configuration()) {
        using namespace std::chrono_literals;
        Prelix10::FirmwareTransferLimits limits;
        limits.pieceReplyTimeout = 400;
        limits.blockSettleTime = 20ms;
        Prelix10::FirmwareUpdaterTesting::setLimits(limits);
        Prelix10::CloudFirmwareFunction::Configuration configuration;
        configuration.baseUrl = cloud.baseUrl();
        configuration.https.caFile = cloud.caFile();
        Prelix10::CloudFirmwareFunction::setConfiguration(configuration);
        Prelix10::Prelix10DiagInfoUpload::shared().setIsEnabled(false);
    }
    ~FirmwareCloudEnvironment() {
        Prelix10::CloudFirmwareFunction::setConfiguration(saved_);
        Prelix10::FirmwareUpdaterTesting::reset();
        Prelix10::Prelix10DiagInfoUpload::shared().setIsEnabled(true);
    }
    FirmwareCloudEnvironment(const FirmwareCloudEnvironment&) = delete;
    FirmwareCloudEnvironment& operator=(const FirmwareCloudEnvironment&) = delete;

  private:
    Prelix10::CloudFirmwareFunction::Configuration saved_;
};

}  // namespace Prelix10Test
