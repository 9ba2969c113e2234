#include "prelix10/setting/FirmwareUpdater.hpp"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <thread>

#include "prelix10/control/PrinterControl.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/ControlInternalFileCommand.hpp"
#include "prelix10/protocol/OrvoConfigReplyParsers.hpp"
#include "prelix10/setting/FirmwareUpdaterTesting.hpp"
#include "prelix10/setting/OrvoConfig.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

namespace {

std::mutex& limitsMutex() {
    static std::mutex mutex;
    return mutex;
}

FirmwareTransferLimits& limitsSlot() {
    static FirmwareTransferLimits limits;
    return limits;
}

Prelix10Error writeFailed() {
    return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed);
}

ByteBlock piece(const ByteBlock& whole, std::size_t offset, std::size_t size) {
    const auto first = whole.begin() + static_cast<std::ptrdiff_t>(offset);
    return ByteBlock(first, first + static_cast<std::ptrdiff_t>(std::min(size, whole.size() - offset)));
}

constexpr std::size_t kReplyReadSize = 1024;
// A reply is 12 bytes; a buffer this long without one keeps only the bytes a reply could still start in.
constexpr std::size_t kReplyBufferBound = 4096;
constexpr std::size_t kReplyLength = 12;

}  // namespace

namespace FirmwareUpdaterTesting {
void setLimits(const FirmwareTransferLimits& limits) {
    std::lock_guard guard(limitsMutex());
    limitsSlot() = limits;
}
void reset() {
    setLimits(FirmwareTransferLimits{});
}
}  // namespace FirmwareUpdaterTesting

FirmwareTransferLimits BaseFirmwareUpdater::limits() {
    std::lock_guard guard(limitsMutex());
    return limitsSlot();
}

void BaseFirmwareUpdater::update(const ByteBlock&) {
    raiseUnexpectedState(Log(this, "update(data:)", __LINE__), 13);
}

void OrvoConfigFirmwareUpdater::update(const ByteBlock& data) {
    const Log log(this, "update(data:)", __LINE__);
    const std::string current =
        printerControl().getOrvoConfig(OrvoConfigArea::user, std::nullopt, kConfigurationReadTimeout);
    const OrvoConfig::Root root = OrvoConfigFunction::orvoConfig(current);
    if (!root.configurations || root.configurations->empty()) raiseUnexpectedState(log, 13);
    const std::string deviceName = root.configurations->front().deviceName;

    OrvoConfig::Root install;
    install.title = OrvoConfig::kDocumentTitle;
    install.version = root.version;
    OrvoConfig::Firmware firmware;
    firmware.action = "force";
    firmware.deviceName = deviceName;
    firmware.pathType = "internal_file";
    firmware.path = "firmware.bin";
    firmware.printType = "ascii";
    firmware.printBeforeWriting = "Firmware Update Start.";
    firmware.selftestAfterWriting = "none";
    install.firmwares = std::vector<OrvoConfig::Firmware>{firmware};
    OrvoConfig::Configuration configuration;
    configuration.deviceName = deviceName;
    configuration.selftestAfterWriting = "version";
    install.configurations = std::vector<OrvoConfig::Configuration>{configuration};
    std::string document;
    try {
        document = install.encode();
    } catch (...) {
        raiseUnexpectedState(log, 38);
    }
    if (document.empty()) raiseUnexpectedState(log, 38);

    // The document goes out only once the whole file is in the printer: a transfer that stops part-way
    // leaves the printer's configuration as it was.
    sendFirmwareData("firmware.bin", data);
    printerControl().setOrvoConfig(document, kConfigurationWriteTimeout);
}

void OrvoConfigFirmwareUpdater::sendFirmwareData(const std::string& filename, const ByteBlock& data) {
    const Log log(this, "sendFirmwareData(filename:data:)", __LINE__);
    const ByteBlock command = ControlInternalFileCommand::Orvo::createSendData(filename, data);
    const std::int64_t replyTimeout = limits().pieceReplyTimeout;
    port().write(ByteBlock{0x1B, 0x1D, 0x5D, 0x46, 0x32}, kWriteTimeout);

    Stopwatch stopwatch;
    stopwatch.start();
    ByteBlock replies;
    for (std::size_t offset = 0; offset < command.size(); offset += kPieceSize) {
        port().write(piece(command, offset, kPieceSize), kWriteTimeout);
        stopwatch.restart();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ByteBlock read = port().readOnce(static_cast<std::int64_t>(kReplyReadSize));
        ControlInternalFileCommandParser parser;
        for (;;) {
            replies.insert(replies.end(), read.begin(), read.end());
            if (replies.size() > kReplyBufferBound) {
                replies.erase(replies.begin(), replies.end() - static_cast<std::ptrdiff_t>(kReplyLength - 1));
            }
            const auto result = parser.parse(replies);
            if (result.state == CommandParserState::complete) {
                replies.clear();
                break;
            }
            if (result.state == CommandParserState::invalid) {
                raiseError(log, Prelix10Error(Prelix10ErrorKind::badResponse,
                                              Prelix10ErrorMessage::badResponseFromDevice));
            }
            if (stopwatch.elapsedMilliseconds() > static_cast<double>(replyTimeout - 1))
                raiseError(log, writeFailed());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            read = port().readOnce(static_cast<std::int64_t>(kReplyReadSize));
        }
    }
}

VozFirmwareUpdater::Plan VozFirmwareUpdater::plan(InterfaceType interfaceType, std::size_t size) {
    const auto current = limits();
    Plan plan;
    if (interfaceType == InterfaceType::bluetoothLE) {
        plan.pieceSize = 512;
        plan.writeTimeout = 3000;
    } else {
        plan.pieceSize = 131072;
        plan.writeTimeout = 15000;
    }
    plan.pieceCount = (size + plan.pieceSize - 1) / plan.pieceSize;
    if (interfaceType == InterfaceType::bluetoothLE) {
        const auto count = static_cast<std::int64_t>(plan.pieceCount);
        // Saturates rather than wrapping for absurd sizes.
        plan.overallLimit = count > INT64_MAX / std::max<std::int64_t>(current.bluetoothLEPieceLimit, 1)
                                ? INT64_MAX
                                : current.bluetoothLEPieceLimit * count;
    } else {
        plan.overallLimit = current.blockOverallLimit;
    }
    return plan;
}

void VozFirmwareUpdater::update(const ByteBlock& data) {
    const Log log(this, "update(data:)", __LINE__);
    const InterfaceType interfaceType = port().rawPort().interfaceType();
    if (interfaceType == InterfaceType::bluetoothLE) {
        // Setting the write type also takes the peripheral's largest write without response as the MTU.
        if (auto* ble = dynamic_cast<BluetoothLEPort*>(&port().rawPort()))
            ble->setWriteType(BleWriteType::withoutResponse);
    }
    const Plan plan = VozFirmwareUpdater::plan(interfaceType, data.size());
    const auto settle = limits().blockSettleTime;
    Stopwatch stopwatch;
    stopwatch.start();
    for (std::size_t offset = 0; offset < data.size(); offset += plan.pieceSize) {
        try {
            port().write(piece(data, offset, plan.pieceSize), plan.writeTimeout);
        } catch (const Prelix10Error& error) {
            raiseError(log, error);
        }
        const auto elapsed = static_cast<std::int64_t>(std::floor(stopwatch.elapsedMilliseconds()));
        if (elapsed >= plan.overallLimit) raiseError(log, writeFailed());
    }
    std::this_thread::sleep_for(settle);
}

}  // namespace Prelix10
