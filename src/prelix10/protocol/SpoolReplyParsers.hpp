#pragma once

// The replies of the spooler: ESC GS ) space, a 32-bit little-endian body length L and a body of L bytes
// whose first byte echoes the request's function. The three parsers report no frame range (-1, -1) in
// every state; the exchange acts on the state alone.

#include <cstdint>
#include <optional>
#include <vector>

#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/protocol/SpoolJobTypes.hpp"

namespace Prelix10 {

namespace SpoolReply {
// The body of the first spooler frame in data, or nothing while the frame is incomplete. Bytes before the
// frame are skipped.
std::optional<ByteView> findBody(ByteView data);
// One job record at offset of body: id, state, elapsed time, interface, retry, timeout, the additional-info
// text. Nothing when the record runs past the body; offset then stays unchanged.
std::optional<OrvoSpoolJobStatus> readJobRecord(ByteView body, std::size_t& offset);
}  // namespace SpoolReply

class SpoolPrintParser final : public CommandParser {
  public:
    explicit SpoolPrintParser(ByteBlock requestCommands = {})
        : requestCommands_(std::move(requestCommands)) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;

    const std::optional<std::int64_t>& jobId() const { return jobId_; }
    bool isAccepted() const { return isAccepted_; }
    const std::optional<std::int64_t>& errorNumber() const { return errorNumber_; }

  private:
    ByteBlock requestCommands_;
    std::optional<std::int64_t> jobId_;
    bool isAccepted_ = false;
    std::optional<std::int64_t> errorNumber_;
};

class SpoolJobStatusParser final : public CommandParser {
  public:
    explicit SpoolJobStatusParser(ByteBlock requestCommands = {})
        : requestCommands_(std::move(requestCommands)) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;

    bool isSpoolerEnabled() const { return isSpoolerEnabled_; }
    bool jobExists() const { return jobExists_; }
    const std::optional<OrvoSpoolJobStatus>& orvoSpoolJobStatus() const { return orvoSpoolJobStatus_; }

  private:
    ByteBlock requestCommands_;
    bool isSpoolerEnabled_ = false;
    bool jobExists_ = false;
    std::optional<OrvoSpoolJobStatus> orvoSpoolJobStatus_;
};

class SpoolJobStatusListParser final : public CommandParser {
  public:
    explicit SpoolJobStatusListParser(ByteBlock requestCommands = {})
        : requestCommands_(std::move(requestCommands)) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;

    bool isSpoolerEnabled() const { return isSpoolerEnabled_; }
    std::int64_t listSize() const { return listSize_; }
    const std::vector<OrvoSpoolJobStatus>& orvoSpoolJobStatusList() const { return orvoSpoolJobStatusList_; }

  private:
    ByteBlock requestCommands_;
    bool isSpoolerEnabled_ = false;
    std::int64_t listSize_ = 0;
    std::vector<OrvoSpoolJobStatus> orvoSpoolJobStatusList_;
};

}  // namespace Prelix10
