#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "prelix10/compiler/KeySpecifierInfo.hpp"
#include "prelix10/compiler/TemplatePrintUtil.hpp"

namespace TemplatePrint {

// The values a template is filled with: one parsed JSON document, read-only after construction.
class FieldData {
  public:
    // Parses the text; a syntax error raises the JSON library's parse error 101.
    explicit FieldData(const std::string& text);

    // True when the field data is itself a complete command document.
    bool isVelmarCommand() const;

    // A copy of the method whose "parameter"."content" has every specifier replaced. `arrayIndex` is the
    // element that array keys read, or -1 outside an array block.
    OrderedJson replace(const OrderedJson& method, std::int64_t arrayIndex) const;

    // Resolves a specifier key; `error` is false only when the whole key resolves.
    KeySpecifierInfo createJsonPointer(const std::string& key, std::int64_t arrayIndex, bool& error) const;

    // Formats a number with a specifier's format ("" means "d"); raises the number-format error for a
    // format that is not one conversion with optional flags, width and precision.
    static std::string numberToString(double value, const std::string& format);

    const nlohmann::json& data() const { return data_; }

  private:
    // The value at `pointer`, or null when the pointer does not lead anywhere.
    const nlohmann::json* find(const JsonPointer& pointer) const;
    std::string render(const std::string& specifier, std::int64_t arrayIndex) const;

    nlohmann::json data_;
};

}  // namespace TemplatePrint
