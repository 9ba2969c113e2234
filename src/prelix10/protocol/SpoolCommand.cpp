#include "prelix10/protocol/SpoolCommand.hpp"

#include <limits>

#include "prelix10/core/JSONBuilder.hpp"
#include "prelix10/core/Prelix10Error.hpp"

namespace Prelix10 {

namespace {

const ByteBlock kPrefix{0x1B, 0x1D, 0x29, 0x20};

Prelix10Error outOfSpecification() {
    return Prelix10Error(Prelix10ErrorKind::argument,
                         Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification);
}

void appendLittleEndian(ByteBlock& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

ByteBlock frame(std::uint8_t function, const ByteBlock& parameters) {
    const std::uint64_t count = static_cast<std::uint64_t>(parameters.size()) + 1;
    if (count > std::numeric_limits<std::uint32_t>::max()) throw outOfSpecification();
    ByteBlock out;
    out.reserve(kPrefix.size() + 5 + parameters.size());
    out.insert(out.end(), kPrefix.begin(), kPrefix.end());
    appendLittleEndian(out, count, 4);
    out.push_back(function);
    out.insert(out.end(), parameters.begin(), parameters.end());
    return out;
}

}  // namespace

std::string SpoolCommand::Kestrin::additionalInfoText(
    const OrvoSpoolJobSettings& settings, const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo) {
    OrvoSpoolJobSettingsAdditionalInfo info = additionalInfo;
    info.title = "OrvoSpoolJobSettingsAdditionalInfo";
    info.version = "1.0.0";
    info.note = settings.note();
    return info.jsonText();
}

ByteBlock SpoolCommand::Kestrin::printSpool(const ByteBlock& data, const OrvoSpoolJobSettings& settings,
                                            const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo) {
    const std::string info = additionalInfoText(settings, additionalInfo);
    // A longer text would wrap its 16-bit length and the printer would take the rest of it as print data.
    if (info.size() > std::numeric_limits<std::uint16_t>::max()) throw outOfSpecification();
    if (data.size() > std::numeric_limits<std::uint32_t>::max()) throw outOfSpecification();
    ByteBlock parameters;
    parameters.reserve(5 + info.size() + data.size());
    parameters.push_back(settings.isRetryEnabled() ? 0x01 : 0x00);
    appendLittleEndian(parameters, static_cast<std::uint64_t>(settings.timeout()), 2);
    appendLittleEndian(parameters, info.size(), 2);
    parameters.insert(parameters.end(), info.begin(), info.end());
    parameters.insert(parameters.end(), data.begin(), data.end());
    return frame(0x30, parameters);
}

ByteBlock SpoolCommand::Kestrin::getSpoolJobStatus(std::int64_t jobId) {
    if (jobId < 0 || jobId > std::numeric_limits<std::uint16_t>::max()) throw outOfSpecification();
    ByteBlock parameters;
    appendLittleEndian(parameters, static_cast<std::uint64_t>(jobId), 2);
    return frame(0x31, parameters);
}

ByteBlock SpoolCommand::Kestrin::getSpoolJobStatusList(std::int64_t size) {
    const std::int64_t sent = size < 0 ? 0 : (size > 2000 ? 2000 : size);
    ByteBlock parameters;
    appendLittleEndian(parameters, static_cast<std::uint64_t>(sent), 2);
    return frame(0x32, parameters);
}

}  // namespace Prelix10
