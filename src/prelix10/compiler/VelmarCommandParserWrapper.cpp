#include "prelix10/compiler/VelmarCommandParserWrapper.hpp"

#include <cstring>
#include <new>

namespace Prelix10 {

VelmarCommandParserWrapper::ParseResult VelmarCommandParserWrapper::parseWithCommand(
    const std::string& command, const std::string& emulation, const std::string& model) {
    ParseResult result;
    try {
        // The first compile hands its bytes over at their exact size, with no room set aside first.
        std::vector<std::uint8_t> whole;
        std::int32_t length = -1;
        ::VelmarCommandParser::parse(command.c_str(), emulation.c_str(), model.c_str(), nullptr, 0, &length,
                                     &result.status, &whole);
        if (length > 0 && whole.size() == static_cast<std::size_t>(length)) {
            result.bytes = std::move(whole);
            return result;
        }
        std::vector<char> buffer;
        if (length > 0) {
            // No room for the hand-over: once more into a buffer of the exact size.
            buffer.assign(static_cast<std::size_t>(length), 0);
            length = -1;
            ::VelmarCommandParser::parse(command.c_str(), emulation.c_str(), model.c_str(), buffer.data(),
                                         static_cast<std::int32_t>(buffer.size()), &length, &result.status);
            if (length > static_cast<std::int32_t>(buffer.size())) return result;
        }
        if (length < 0) return result;
        result.bytes.emplace(buffer.begin(), buffer.begin() + length);
    } catch (const std::bad_alloc&) {
        result.bytes.reset();
    }
    return result;
}

std::optional<std::string> VelmarCommandParserWrapper::replaceWithTemplate(const std::string& templateText,
                                                                           const std::string& fieldData,
                                                                           std::int32_t* errorTypeId,
                                                                           std::int32_t* errorCode,
                                                                           std::int32_t* errorMessageId) {
    try {
        std::vector<char> buffer(kFirstReplaceCapacity, 0);
        std::int32_t length = -1;
        ::VelmarCommandParser::replace(templateText.c_str(), fieldData.c_str(), buffer.data(),
                                       kFirstReplaceCapacity, &length, errorTypeId, errorCode,
                                       errorMessageId);
        if (length > kFirstReplaceCapacity) {
            buffer.assign(static_cast<std::size_t>(length), 0);
            length = -1;
            ::VelmarCommandParser::replace(templateText.c_str(), fieldData.c_str(), buffer.data(),
                                           static_cast<std::int32_t>(buffer.size()), &length, errorTypeId,
                                           errorCode, errorMessageId);
        }
        if (length < 0) return std::nullopt;
        return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace Prelix10
