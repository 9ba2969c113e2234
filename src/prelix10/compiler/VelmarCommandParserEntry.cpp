#include "prelix10/compiler/VelmarCommandParserEntry.hpp"

#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "prelix10/command/BuilderFactory.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModelFactory.hpp"
#include "prelix10/compiler/Parser.hpp"
#include "prelix10/compiler/TemplatePrintParser.hpp"

namespace VelmarCommandParser {

std::optional<std::int32_t> reportableLength(std::uint64_t dataSize) noexcept {
    if (dataSize > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
    return static_cast<std::int32_t>(dataSize);
}

void parse(const char* command, const char* emulation, const char* model, char* out, std::int32_t capacity,
           std::int32_t* outLength) noexcept {
    parse(command, emulation, model, out, capacity, outLength, nullptr);
}

void parse(const char* command, const char* emulation, const char* model, char* out, std::int32_t capacity,
           std::int32_t* outLength, ParseStatus* status) noexcept {
    parse(command, emulation, model, out, capacity, outLength, status, nullptr);
}

void parse(const char* command, const char* emulation, const char* model, char* out, std::int32_t capacity,
           std::int32_t* outLength, ParseStatus* status, std::vector<std::uint8_t>* whole) noexcept {
    std::int32_t ignoredLength = 0;
    ParseStatus ignoredStatus = ParseStatus::completed;
    if (outLength == nullptr) outLength = &ignoredLength;
    if (status == nullptr) status = &ignoredStatus;
    *status = ParseStatus::completed;
    try {
        const auto printerModel = PrinterCommandBuilder::PrinterModelFactory(model ? model : "").create();
        PrinterCommandBuilder::ByteBuffer buffer;
        auto root =
            PrinterCommandBuilder::BuilderFactory(emulation ? emulation : "", &buffer, printerModel).create();
        if (!root) {
            *outLength = 0;
            return;
        }
        std::uint64_t size = 0;
        {
            Parser parser(root.get());
            const auto result = parser.parse(command ? command : "");
            // A walk that failed part-way, or a text that is no JSON, leaves no half job behind.
            if (result == Parser::Result::invalidJson) *status = ParseStatus::invalidJson;
            if (result == Parser::Result::completed) size = buffer.getDataSize();
            root.reset();
        }
        const auto length = reportableLength(size);
        if (!length) {
            *status = ParseStatus::tooLarge;
            *outLength = -1;
            return;
        }
        *outLength = *length;
        if (out != nullptr && capacity >= 0 && *length <= capacity && *length > 0) {
            buffer.getAll(out, static_cast<std::size_t>(capacity));
        } else if (whole != nullptr && *length > 0) {
            try {
                whole->clear();
                buffer.appendTo(*whole);
            } catch (const std::bad_alloc&) {
                // No room for the hand-over: the caller sees no bytes and takes its own road.
                whole->clear();
            }
        }
    } catch (...) {
        *status = ParseStatus::failed;
        *outLength = 0;
    }
}

void replace(const char* templateText, const char* fieldData, char* out, std::int32_t capacity,
             std::int32_t* outLength, std::int32_t* errorTypeId, std::int32_t* errorCode,
             std::int32_t* errorMessageId) noexcept {
    std::int32_t ignored[4] = {0, -1, -1, -1};
    if (outLength == nullptr) outLength = &ignored[0];
    if (errorTypeId == nullptr) errorTypeId = &ignored[1];
    if (errorCode == nullptr) errorCode = &ignored[2];
    if (errorMessageId == nullptr) errorMessageId = &ignored[3];
    std::string result;
    try {
        TemplatePrint::TemplatePrintParser expander;
        result = expander.parse(templateText ? templateText : "", fieldData ? fieldData : "", *errorTypeId,
                                *errorCode, *errorMessageId);
    } catch (...) {
        // Any failure inside the expansion is an invalid template as a whole.
        *errorTypeId = 0;
        *errorCode = 0;
        *errorMessageId = 0;
        result = "{}";
    }
    const std::size_t length = std::strlen(result.c_str());
    const auto reported = reportableLength(static_cast<std::uint64_t>(length) + 1);
    if (!reported) {
        *outLength = -1;
        return;
    }
    *outLength = *reported;
    if (out != nullptr && capacity > 0 && length < static_cast<std::size_t>(capacity)) {
        std::memcpy(out, result.data(), length);
        out[length] = '\0';
    }
}

}  // namespace VelmarCommandParser
