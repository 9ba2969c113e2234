#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <thread>

#include "support/Hex.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10::Testing {

// A status as a maker's printer reports it, built the way the status parsers build one.
inline std::shared_ptr<const OrvoPrinterStatus> makeStatus(std::function<void(OrvoPrinterStatus::Builder&,
                                                                                 OrvoPrinterStatusDetailInternal::Builder&)>
                                                                   change = nullptr) {
    OrvoPrinterStatus::Builder status;
    status.hasError = false;
    OrvoPrinterStatusDetailInternal::Builder detail;
    detail.etbCounter = 0;
    detail.paperPresent = false;
    detail.externalDevice12Ready = true;
    detail.externalDevice34Ready = true;
    if (change) change(status, detail);
    status.detailInternal = std::make_shared<const OrvoPrinterStatusDetailInternal>(detail);
    return std::make_shared<const OrvoPrinterStatus>(status);
}

// A printer port that plays back a script of statuses (the last one repeats) and records every write.
class ScriptedPrinterPort final : public PrinterPort {
public:
    struct Step {
        std::shared_ptr<const OrvoPrinterStatus> status;
        std::chrono::milliseconds delay{0};
    };
    std::deque<Step> statuses;
    std::vector<std::string> writes;  // hex of each write
    // Called for each write with its hex; may sleep or throw.
    std::function<void(const std::string&, std::int64_t timeout)> onWrite;
    std::deque<ByteBlock> reads;  // what readOnce hands out; empty blocks afterwards
    int statusReads = 0;

    OrvoPrinterEmulation emulation() const override { return OrvoPrinterEmulation::kestrin; }
    void setEmulation(OrvoPrinterEmulation) override {}
    RawPort& rawPort() const override { throw std::logic_error("no raw port"); }
    bool isConnected() const override { return true; }
    void initialize(std::int64_t) override {}
    std::shared_ptr<const OrvoPrinterStatus> getStatusWithCheckETBCounter(std::int64_t t) override { return getStatus(t); }
    std::shared_ptr<const OrvoPrinterStatus> getStatus(std::int64_t) override {
        ++statusReads;
        Step step = statuses.front();
        if (statuses.size() > 1) statuses.pop_front();
        std::this_thread::sleep_for(step.delay);
        return step.status;
    }
    void open(std::int64_t) override {}
    void close() override {}
    ByteBlock readOnce(std::int64_t) override {
        if (reads.empty()) return {};
        ByteBlock b = reads.front();
        reads.pop_front();
        return b;
    }
    ByteBlock readOnce(ByteRange) override { return {}; }
    ByteBlock readOnceUnconsumed(std::int64_t) override { return {}; }
    void clearReadBuffer() override {}
    ByteBlock readUntilSize(std::int64_t, std::int64_t) override { return {}; }
    void write(const ByteBlock& data, std::int64_t timeout) override {
        const std::string h = hex(data);
        if (onWrite) onWrite(h, timeout);
        writes.push_back(h);
    }
};

}  // namespace Prelix10::Testing
