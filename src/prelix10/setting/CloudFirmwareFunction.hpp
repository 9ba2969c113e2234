#pragma once

#include "prelix10/core/Export.hpp"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "prelix10/core/Export.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/platform/HttpsTransport.hpp"
#include "prelix10/setting/FirmwareInfo.hpp"
#include "prelix10/setting/FirmwareUpdateLog.hpp"

namespace Prelix10 {

// The client of the firmware cloud service: the firmware list and the firmware image of a model variant,
// and the upload of an update log. Each request blocks its caller until the reply has been read whole or
// the exchange has failed; failures are results, never exceptions.
class PRELIX10_EXPORT CloudFirmwareFunction {
  public:
    enum class CloudFirmwareFunctionResult : int {
        success = 0,
        // Transport failure, time-out, cancellation, or a reply over the size cap.
        networkError = 1,
        // Any status but those below, a redirect, or a GET answered 200 without a body.
        communicationError = 2,
        requestError = 3,
        authenticationError = 4,
    };
    using Result = CloudFirmwareFunctionResult;

    // Where the service is and how it is reached. Verification of the service's certificate cannot be
    // turned off; a test gives its own authority in https.caFile.
    struct Configuration {
        // "https://host[:port]", without a trailing "/". Empty until the application sets it: every
        // request then fails as a network error without sending anything.
        std::string baseUrl;
        HttpsOptions https;
        std::string firstFunctionKey = "Qm7tRw-Lp3XaVn9KdZc2HfYs8UeBj4Tg_0PoWiEk5NqMhGx6ArCyDv==";
        std::string secondFunctionKey = "Hb2kZe_Nw8QsLc4RtYp7GmVa1UoXj9Fd3Ki-EyTn6WqBr5PzMh0SgA==";
        // Null selects libcurl.
        std::shared_ptr<HttpsTransport> transport;
    };

    // The cap on the list and upload replies, far below the image's: a list of a few entries is a few
    // hundred bytes, and a huge one would only cost memory and time on the printer's queue.
    static constexpr std::size_t kSmallReplyBytes = 1024u * 1024u;

    // The process-wide configuration used by the forms without one.
    static Configuration configuration();
    static void setConfiguration(Configuration configuration);

    static std::pair<Result, std::vector<FirmwareInfo>> fetchFirmwareInfo(PrinterModelDetail model);
    static std::pair<Result, std::optional<std::vector<std::uint8_t>>> fetchFirmwareData(
        PrinterModelDetail model);
    static Result postClientInfo(const FirmwareUpdateLog& log);

    // The same with a given configuration, a model variant text, and an optional flag that ends the
    // request early (as a network error) when set from another thread.
    static std::pair<Result, std::vector<FirmwareInfo>> fetchFirmwareInfo(
        std::string_view model, const Configuration& configuration,
        const std::atomic<bool>* cancelled = nullptr);
    static std::pair<Result, std::optional<std::vector<std::uint8_t>>> fetchFirmwareData(
        std::string_view model, const Configuration& configuration,
        const std::atomic<bool>* cancelled = nullptr);
    static Result postClientInfo(const FirmwareUpdateLog& log, const Configuration& configuration,
                                 const std::atomic<bool>* cancelled = nullptr);

    // base + "?" + items joined by "&", each key and value percent-encoded with only ASCII letters and
    // digits left as they are (after any percent-encoding they already carry is removed).
    static std::string makeURL(const std::string& url,
                               const std::vector<std::pair<std::string, std::string>>& query);
    static std::string userAgent();
    // The upload body: the four entries at one tab of indent, line feeds between lines.
    static std::string clientInfoBody(const FirmwareUpdateLog& log);
    static const char* describe(Result result);
};

}  // namespace Prelix10
