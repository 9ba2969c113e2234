#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/compiler/FieldData.hpp"
#include "prelix10/compiler/TemplatePrintUtil.hpp"

namespace TemplatePrint {

// Rebuilds one "Document" element of a template: keeps what the compiler understands, fills the
// specifiers and repeats array blocks once per element of their field-data array.
class TemplatePrintCategoryParser {
  public:
    // Nested categories are counted per depth in a table of this size; deeper templates are refused.
    static constexpr std::size_t kMaxDepth = 1000;

    TemplatePrintCategoryParser(const FieldData& fieldData, const std::string& name);

    // Processes one category element; the result is the rebuilt element when `depth` is 0 (null for an
    // element that is no category this parser knows).
    OrderedJson parse(const OrderedJson& element, std::int32_t depth);

  private:
    static OrderedJson initializeBuffer(const std::string& name, const OrderedJson& parameters,
                                        std::int32_t objectId);
    void initializeArrayInfo();
    void addEmptyCategory(OrderedJson& buffer, const std::string& name, const OrderedJson& parameters,
                          std::int32_t depth);
    void addMethod(OrderedJson& buffer, std::int32_t depth, const OrderedJson& method);
    void confirmArrayKeySpecifier(const std::vector<std::string>& keys);
    void enterArrayTemplateMode(std::int32_t depth);
    void exitArrayTemplateMode();
    OrderedJson ancestorChain(std::int32_t levels);
    void replaceArrayTemplate(OrderedJson& node, std::int64_t elementIndex) const;
    static void removeObjectId(OrderedJson& node);

    void visitNestedCategory(const OrderedJson& item, std::int32_t depth);
    void visitArrayModeItem(const OrderedJson& item, std::int32_t depth);
    std::int32_t countCategory(std::int32_t depth);

    const FieldData& fieldData_;
    OrderedJson outputBuffer_;
    std::optional<OrderedJson> arrayTemplateBuffer_;
    OrderedJson skeletonBuffer_;
    std::vector<std::int32_t> objectIdCounters_;
    bool arrayTemplateMode_ = false;
    std::int32_t arrayTemplateDepth_ = 0;
    std::int32_t arraySize_ = 1;
    JsonPointer arrayKeyPointer_;
    // How the open array block was started: from the whole skeleton (only when the skeleton does not
    // end in the block's enclosing categories), and whether its repetitions get their specifiers filled.
    bool arrayBlockFromSkeleton_ = false;
    bool arrayBlockReplaced_ = true;
};

}  // namespace TemplatePrint
