#include "prelix10/compiler/VelmarCommandParserWrapper.hpp"

#include <cstring>
#include <new>

namespace Prelix10 {

VelmarCommandParserWrapper::ParseResult VelmarCommandParserWrapper::parseWithCommand(
    const std::string& command, const std::string& emulation, const std::string& model) {
    ParseResult result;
    try {
        std::vector<char> buffer(kFirstParseCapacity, 0);
        std::vector<std::uint8_t> whole;
        std::int32_t length = -1;
        ::VelmarCommandParser::parse(command.c_str(), emulation.c_str(), model.c_str(), buffer.data(),
                                     kFirstParseCapacity, &length, &result.status, &whole);
        if (length > kFirstParseCapacity && whole.size() == static_cast<std::size_t>(length)) {
            // The first compile already holds every byte: no second one.
            result.bytes = std::move(whole);
            return result;
        }
        if (length > kFirstParseCapacity) {
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
