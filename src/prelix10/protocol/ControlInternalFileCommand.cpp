#include "prelix10/protocol/ControlInternalFileCommand.hpp"

#include <limits>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Prelix10Error.hpp"

namespace Prelix10 {

ByteBlock ControlInternalFileCommand::Orvo::createSendData(const std::string& filename,
                                                           const ByteBlock& data) {
    for (const char c : filename) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            raiseUnexpectedState(
                Log(nullptr, "ControlInternalFileCommand.Orvo", "createSendData(filename:data:)", __LINE__),
                6);
        }
    }
    // Lengths that do not fit their fields would misframe the file for the printer.
    if (filename.size() > std::numeric_limits<std::uint16_t>::max() ||
        data.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw Prelix10Error(Prelix10ErrorKind::argument,
                            Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification);
    }
    ByteBlock out{0x1B, 0x1D, 0x5D, 0x46, 0x31};
    out.reserve(11 + filename.size() + data.size());
    out.push_back(static_cast<std::uint8_t>(filename.size() & 0xFF));
    out.push_back(static_cast<std::uint8_t>((filename.size() >> 8) & 0xFF));
    out.insert(out.end(), filename.begin(), filename.end());
    const std::uint64_t size = data.size();
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((size >> (8 * i)) & 0xFF));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace Prelix10
