#include "prelix10/printer/BluetoothPrinterSpecDetector.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/protocol/FirmwareInformationParser.hpp"
#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"
#include "prelix10/protocol/StatusReplyParsers.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/PortUtil.hpp"

namespace Prelix10 {

namespace {

std::int64_t timeLeft(std::int64_t timeout, const Stopwatch& watch) {
    return timeout - static_cast<std::int64_t>(watch.elapsedMilliseconds());
}

PrinterSpecDetector::Result unknownResult() {
    return {ModelDetectionInformation::make(OrvoPrinterModel::unknown, false, false), OrvoPrinterEmulation::unknown};
}

}  // namespace

PrinterSpecDetector::Result BluetoothPrinterSpecDetector::detect(std::int64_t timeout) const {
    auto port = std::dynamic_pointer_cast<BluetoothPort>(port_);
    if (!port) raiseUnexpectedState(Log(this, "internalDetect(timeout:)", __LINE__), 10);
    const auto accessory = port->accessory();
    if (!accessory) raiseUnexpectedState(Log(this, "detect(port:timeout:)", __LINE__), 18);
    auto detection = ModelDetection::detectModelFromAccessoryModelNumber(accessory->modelNumber());
    if (detection->model() == OrvoPrinterModel::unknown) return detectByFirmwareInformation(*port, timeout);
    const auto spec = PrinterSpecTable::findSpec(detection->model());
    if (spec && spec->emulation != OrvoPrinterEmulation::unknown) return {detection, spec->emulation};
    const bool orvo = detectIsOrvoEmulation(*port, timeout);
    return {detection, orvo ? OrvoPrinterEmulation::kestrin : OrvoPrinterEmulation::escPosMobile};
}

PrinterSpecDetector::Result BluetoothPrinterSpecDetector::detectByFirmwareInformation(RawPort& port,
                                                                                       std::int64_t timeout) const {
    OrvoFirmwareInformationParser parser(
        [](const std::string& text) { return ModelDetection::detectModelFromFirmwareName(text); });
    try {
        PortUtil::retrieveInformationImpl(port, parser, timeout, true);
    } catch (const Prelix10Error& error) {
        // A reply that is no firmware information names no model; it is no failure.
        if (error.kind() == Prelix10ErrorKind::badResponse) return unknownResult();
        throw;
    }
    const auto& found = parser.internalInformation();
    if (!found) return unknownResult();
    return {ModelDetectionInformation::make(found->model(), found->isEstimated(), found->isFallback()),
            emulationOfModel(found->model())};
}

bool BluetoothPrinterSpecDetector::detectIsOrvoEmulation(RawPort& port, std::int64_t timeout) const {
    const Log log(this, "detectIsOrvoEmulation(port:timeout:)", __LINE__);
    Stopwatch watch;
    watch.start();
    port.clearReadBuffer();
    // The maker's status request twice, then the mobile paper-status request DLE EOT 4.
    port.write({0x1B, 0x06, 0x01, 0x1B, 0x06, 0x01, 0x10, 0x04, 0x04}, timeLeft(timeout, watch));
    ByteBlock status;
    bool secondPhase = false;
    bool eotSeen = false;
    for (;;) {
        const ByteBlock read = port.readUntilSize(1, timeLeft(timeout, watch));
        if (read.empty()) continue;
        const std::uint8_t byte = read.front();
        const ByteBlock single{byte};
        if (secondPhase) {
            OrvoEOTPrinterStatusParser eot;
            if (eot.parse(ByteView(single)).state == CommandParserState::complete) {
                if (eotSeen) return true;
                eotSeen = true;
                continue;
            }
        }
        status.push_back(byte);
        OrvoASBPrinterStatusStrictParser frame(OrvoPrinterEmulation::kestrin);
        const auto result = frame.parse(ByteView(status));
        if (result.state == CommandParserState::needMoreData) continue;
        if (result.state == CommandParserState::complete) {
            if (secondPhase) return true;
            status.clear();
            secondPhase = true;
            continue;
        }
        status.clear();
        EscPosMobilePrinterStatusParser mobile;
        if (mobile.parse(ByteView(single)).state == CommandParserState::complete || (byte & 0x93) == 0x12) return false;
        if (timeLeft(timeout, watch) <= 0) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut));
        }
    }
}

}  // namespace Prelix10
