#include "prelix10/protocol/OrvoConfigCommand.hpp"

#include <cstdint>
#include <limits>

#include "prelix10/core/Prelix10Error.hpp"

namespace Prelix10 {

namespace {

void appendCount(ByteBlock& out, std::uint64_t count) {
    if (count > std::numeric_limits<std::uint32_t>::max()) {
        throw Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification);
    }
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((count >> (8 * i)) & 0xFF));
}

}  // namespace

std::optional<OrvoConfigArea> orvoConfigArea(std::uint8_t byte) {
    if (byte == 0x23) return OrvoConfigArea::user;
    if (byte == 0x3B) return OrvoConfigArea::factory;
    return std::nullopt;
}

std::uint8_t orvoConfigAreaByte(OrvoConfigArea area) { return area == OrvoConfigArea::factory ? 0x3B : 0x23; }

std::string describeEnumeration(OrvoConfigurationSetResult result) {
    return result == OrvoConfigurationSetResult::applied ? "applied" : "accepted";
}

ByteBlock OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea area, const std::optional<std::string>& password) {
    const std::string secret = password.value_or("");
    ByteBlock out{0x1B, 0x1D, 0x29, orvoConfigAreaByte(area)};
    appendCount(out, secret.size() + 1);
    out.push_back(0x31);
    out.insert(out.end(), secret.begin(), secret.end());
    return out;
}

ByteBlock OrvoConfigCommand::Orvo::createSetCommand(const std::string& configuration) {
    ByteBlock out{0x1B, 0x1D, 0x29, 0x23};
    appendCount(out, static_cast<std::uint64_t>(configuration.size()) + 1);
    out.push_back(0x30);
    out.insert(out.end(), configuration.begin(), configuration.end());
    return out;
}

}  // namespace Prelix10
