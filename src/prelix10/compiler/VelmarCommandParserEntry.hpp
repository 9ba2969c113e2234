#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace VelmarCommandParser {

// How a compilation ended, beyond the bytes it reports.
enum class ParseStatus : std::int32_t {
    completed = 0,
    // The document is not valid JSON; no bytes.
    invalidJson = 1,
    // The result would not fit a 32-bit length (2 GiB or more); no bytes, length -1.
    tooLarge = 2,
    // Anything else went wrong inside (memory exhausted, ...); no bytes.
    failed = 3,
};

// Compiles a command document for an emulation and model name. The length out-parameter receives
// the size of the result; the bytes are copied only when it is at most the capacity. Never throws.
void parse(const char* command, const char* emulation, const char* model, char* out, std::int32_t capacity,
           std::int32_t* outLength) noexcept;
void parse(const char* command, const char* emulation, const char* model, char* out, std::int32_t capacity,
           std::int32_t* outLength, ParseStatus* status) noexcept;
// As above; when the result does not fit the capacity and whole is given, whole receives every
// byte of it (or stays empty when no memory could be had for them).
void parse(const char* command, const char* emulation, const char* model, char* out, std::int32_t capacity,
           std::int32_t* outLength, ParseStatus* status, std::vector<std::uint8_t>* whole) noexcept;

// Expands a template with field data into a NUL-terminated command document. The length
// out-parameter receives the text's length plus 1; the text is copied only when it fits. The three
// ids are set only on failure. Never throws.
void replace(const char* templateText, const char* fieldData, char* out, std::int32_t capacity,
             std::int32_t* outLength, std::int32_t* errorTypeId, std::int32_t* errorCode,
             std::int32_t* errorMessageId) noexcept;

// The length reported for a result of dataSize bytes; none when it does not fit 32 bits.
std::optional<std::int32_t> reportableLength(std::uint64_t dataSize) noexcept;

}  // namespace VelmarCommandParser
