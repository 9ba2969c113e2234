#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "prelix10/command/printer/PrinterTypes.hpp"
#include "prelix10/compiler/DocumentArena.hpp"

namespace VelmarCommandParser {

// Typed reads of a method's parameters that never raise: absence or a wrong type sets the
// caller's not-found flag (which is only ever set, never cleared) and gives a neutral value.
class JsonUtil {
  public:
    static bool getBoolean(const DocumentTree* value, std::string_view key, bool& notFound);
    // Any JSON number, truncated toward zero and saturated to 32 bits.
    static std::int32_t getInt(const DocumentTree* value, std::string_view key, bool& notFound);
    static double getDouble(const DocumentTree* value, std::string_view key, bool& notFound);
    // As getString, without a copy: a view into value (an empty one when missing).
    static std::string_view getStringRef(const DocumentTree* value, std::string_view key, bool& notFound);
    static std::string getString(const DocumentTree* value, std::string_view key, bool& notFound);
    // The items read before the first item that is not a number are returned even on failure.
    static std::vector<std::int32_t> getIntArray(const DocumentTree* value, std::string_view key,
                                                 bool& notFound);
    static std::vector<PrinterCommandBuilder::Printer::Encode> getArray(
        const DocumentTree* value, std::string_view key,
        const std::map<std::string, PrinterCommandBuilder::Printer::Encode>& map, bool& notFound);

    static bool getBoolean(const nlohmann::json* value, const nlohmann::json::json_pointer& pointer,
                           bool& notFound);
    static double getDouble(const nlohmann::json* value, const nlohmann::json::json_pointer& pointer,
                            bool& notFound);
    static std::string getString(const nlohmann::json* value, const nlohmann::json::json_pointer& pointer,
                                 bool& notFound);
    // For insertion-ordered template documents.
    static bool getBoolean(const nlohmann::ordered_json* value, const std::string& key, bool& notFound);

    // Whether value is an object holding key.
    static bool contains(const DocumentTree* value, std::string_view key);
    // A JSON number as a 32-bit integer, truncated toward zero and saturated.
    static std::int32_t toInt32(const DocumentTree& number);
    static std::int32_t toInt32(const nlohmann::json& number);
};

}  // namespace VelmarCommandParser
