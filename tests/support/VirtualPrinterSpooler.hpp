#pragma once

// The spooler and the configuration store of the virtual printer, as request handlers on its engine.
// Spooler requests (ESC GS ) space) are answered with job ids, refusal numbers and the stored jobs;
// configuration requests (ESC GS ) # and ESC GS ) ;) with one document per area. Replies go back in the
// session's framing: inside status block extensions on the maker's LAN boards.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

struct StoredSpoolJob {
    std::uint16_t jobId = 0;
    std::uint8_t stateCode = 1;  // accepted
    std::uint32_t elapsedTime = 0;
    std::uint8_t interfaceCode = 4;  // LAN
    bool retry = false;
    std::uint16_t timeout = 0;
    std::string additionalInfo;  // the JSON text as the host sent it
    Bytes data;
};

class VirtualPrinterSpooler {
  public:
    // Installs the handlers on the engine; the spooler must outlive the engine's sessions.
    explicit VirtualPrinterSpooler(VirtualPrinterEngine& engine);

    // Spooler state.
    void setSpoolerEnabled(bool enabled);
    // A spool print is refused with this error number (nothing: accepted).
    void setRefusalNumber(std::optional<std::uint8_t> number);
    void storeJob(const StoredSpoolJob& job);
    std::vector<StoredSpoolJob> jobs();
    // Sets the id the next accepted job gets.
    void setNextJobId(std::uint16_t id);

    // Configuration state: the document of an area (area byte 0x23 user, 0x3B factory).
    void setDocument(std::uint8_t area, std::string document);
    std::string document(std::uint8_t area);
    // The result and detail a configuration-set request is answered with (success 00 stores the document).
    void setSetReply(std::uint8_t result, std::uint8_t detail);
    // The password the last get request carried.
    std::string lastPassword();

    // Faults: requests are taken and never answered; or the next reply is replaced by these bytes.
    void setSilent(bool silent);
    void replaceNextReply(Bytes reply);
    // A slow printer: each reply is held back and goes out with the answer to the next request, ahead of it,
    // so the answer to a request the host gave up on reaches the host's next request.
    void setRepliesOneRequestLate(bool late);
    // Requests taken so far (spooler and configuration together).
    std::size_t requestCount();

  private:
    RequestMatch handle(std::span<const std::uint8_t> bytes);
    Bytes spoolerReply(std::span<const std::uint8_t> body);
    Bytes configurationReply(std::uint8_t area, std::span<const std::uint8_t> body);

    std::mutex mutex_;
    bool enabled_ = true;
    std::optional<std::uint8_t> refusal_;
    std::uint16_t nextJobId_ = 1;
    std::map<std::uint16_t, StoredSpoolJob> jobs_;
    std::map<std::uint8_t, std::string> documents_;
    std::uint8_t setResult_ = 0x00;
    std::uint8_t setDetail_ = 0x00;
    std::string lastPassword_;
    bool silent_ = false;
    std::optional<Bytes> nextReply_;
    bool late_ = false;
    Bytes held_;
    std::size_t requests_ = 0;
};

}  // namespace Prelix10::Testing
