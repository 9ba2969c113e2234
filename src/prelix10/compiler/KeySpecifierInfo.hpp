#pragma once

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

namespace TemplatePrint {

using JsonPointer = nlohmann::json::json_pointer;

// Where a specifier's key leads in the field data, and the array it passed through, if any.
class KeySpecifierInfo {
  public:
    const JsonPointer& getKeyPointer() const { return keyPointer_; }
    bool isArray() const { return isArray_; }
    const JsonPointer& getArrayKeyPointer() const { return arrayKeyPointer_; }
    std::uint64_t getArraySize() const { return arraySize_; }

    void setKeyPointer(JsonPointer pointer) { keyPointer_ = std::move(pointer); }
    void setIsArray(bool isArray) { isArray_ = isArray; }
    void setArrayKeyPointer(JsonPointer pointer) { arrayKeyPointer_ = std::move(pointer); }
    void setArraySize(std::uint64_t size) { arraySize_ = size; }

  private:
    JsonPointer keyPointer_;
    bool isArray_ = false;
    JsonPointer arrayKeyPointer_;
    std::uint64_t arraySize_ = std::numeric_limits<std::uint64_t>::max();
};

}  // namespace TemplatePrint
