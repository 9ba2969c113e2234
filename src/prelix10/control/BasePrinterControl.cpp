#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/control/PrinterControl.hpp"

namespace Prelix10 {

void BasePrinterControl::printLegacy(const ByteBlock& data, std::int64_t timeout) {
    Log log(this, "printLegacy(data:timeout:)", __LINE__);
    auto* checks = dynamic_cast<BasePrinterControlProtocol*>(this);
    if (!checks) raiseUnexpectedState(log, 56);
    Stopwatch watch;
    watch.start();
    auto elapsed = [&] { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); };
    checks->beginCheck(*port_, timeout - elapsed());
    try {
        port_->write(data, timeout - elapsed());
    } catch (const Prelix10Error& error) {
        if (elapsed() > timeout) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::printTimedOut,
                                          Prelix10ErrorCode::printingTimeout));
        }
        raiseError(log, error);
    }
    checks->endCheck(*port_, timeout - elapsed());
}

void BasePrinterControl::checkAvailableSpoolPrint() {
    if (!isSpoolPrintSupported_) {
        raiseError(Log(this, "checkAvailableSpoolPrint()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::unsupportedModel, Prelix10ErrorMessage::notSupportedModel));
    }
}

void BasePrinterControl::checkAvailableOrvoConfig() {
    if (!isOrvoConfigSupported_) {
        raiseError(Log(this, "checkAvailableOrvoConfig()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::unsupportedModel, Prelix10ErrorMessage::notSupportedModel));
    }
}

std::int64_t BasePrinterControl::printSpool(const ByteBlock&, const OrvoSpoolJobSettings&,
                                            const OrvoSpoolJobSettingsAdditionalInfo&, std::int64_t) {
    checkAvailableSpoolPrint();
    raiseUnexpectedState(Log(this, "printSpool(data:orvoSpoolJobSettings:additionalInfo:timeout:)", __LINE__), 66);
}

OrvoSpoolJobStatus BasePrinterControl::getSpoolJobStatus(std::int64_t, std::int64_t) {
    checkAvailableSpoolPrint();
    raiseUnexpectedState(Log(this, "getSpoolJobStatus(jobId:timeout:)", __LINE__), 75);
}

std::vector<OrvoSpoolJobStatus> BasePrinterControl::getSpoolJobStatusList(std::int64_t, std::int64_t) {
    checkAvailableSpoolPrint();
    raiseUnexpectedState(Log(this, "getSpoolJobStatusList(size:timeout:)", __LINE__), 84);
}

OrvoConfigurationSetResult BasePrinterControl::setOrvoConfig(const std::string&, std::int64_t) {
    checkAvailableOrvoConfig();
    raiseUnexpectedState(Log(this, "setOrvoConfig(orvoConfig:timeout:)", __LINE__), 93);
}

std::string BasePrinterControl::getOrvoConfig(OrvoConfigArea, const std::optional<std::string>&, std::int64_t) {
    checkAvailableOrvoConfig();
    raiseUnexpectedState(Log(this, "getOrvoConfig(area:password:timeout:)", __LINE__), 102);
}

}  // namespace Prelix10
