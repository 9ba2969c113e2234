#include "prelix10/command/printer/WidthSpecifiedTextConverter.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

using VelmarCommandParser::CharStruct;

constexpr uint8_t kHalfSpace[] = {0x20};
constexpr uint8_t kFullSpace[] = {0xE3, 0x80, 0x80};  // U+3000
constexpr uint8_t kEllipsis[] = {0xE2, 0x80, 0xA6};   // U+2026
// Far beyond any paper width; bounds the padding a document can ask for.
constexpr int32_t kMaximumWidthCells = 65535;

void appendCharacter(std::vector<uint8_t>& scratch, const CharStruct& character) {
    const auto* bytes = character.bytes.data();
    scratch.insert(scratch.end(), bytes, bytes + std::min<uint64_t>(character.size, character.bytes.size()));
}

void appendEllipsis(std::vector<uint8_t>& scratch) {
    scratch.insert(scratch.end(), std::begin(kEllipsis), std::end(kEllipsis));
}

}  // namespace

WidthSpecifiedTextConverter::WidthSpecifiedTextConverter(const PrintSettingsInformation* settings,
                                                         PrinterModel model)
    : settings_(settings) {
    const double coefficient = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
    const double characterSpace = settings != nullptr ? settings->characterSpace : 0.0;
    const int spacing = std::clamp(
        MathUtil::mmToDotFloor(characterSpace, coefficient, BaseMagnificationType::Standard), 0, 15);
    const bool fontA = settings == nullptr || settings->font == FontType::A;
    if (settings != nullptr && settings->baseMagnification == BaseMagnificationType::X1_5) {
        halfCell_ = fontA ? 18 : 14;
        fullCell_ = 36;
    } else {
        halfCell_ = fontA ? 12 : 9;
        fullCell_ = 24;
    }
    halfCell_ += spacing;
    fullCell_ += spacing;
}

bool WidthSpecifiedTextConverter::isOverflow(int width, const std::vector<CharStruct>& characters) const {
    int64_t sum = 0;
    for (const CharStruct& character : characters) {
        sum += widthOf(character);
        if (sum > width) return true;
    }
    return false;
}

void WidthSpecifiedTextConverter::append(ByteBuffer* output, const std::vector<uint8_t>& scratch, int) const {
    if (!scratch.empty()) output->add(scratch);
}

void WidthSpecifiedTextConverter::appendSpace(ByteBuffer* output, int count, TextWidthType type) const {
    for (int i = 0; i < count; ++i) {
        if (type == TextWidthType::Full) {
            output->add(kFullSpace, sizeof(kFullSpace));
        } else {
            output->add(kHalfSpace, sizeof(kHalfSpace));
        }
    }
}

void WidthSpecifiedTextConverter::appendLf(ByteBuffer* output, int count) const {
    for (int i = 0; i < count; ++i) output->add({0x0A});
}

void WidthSpecifiedTextConverter::convert(ByteBuffer* output, const std::vector<CharStruct>& characters,
                                          TextWidthParameter widthParameter, bool& isLineHead) const {
    if (output == nullptr) return;
    const uint64_t sizeBefore = output->getDataSize();

    // Trailing line feeds stay outside the field.
    size_t bodySize = characters.size();
    while (bodySize > 0 && characters[bodySize - 1].size == 1 && characters[bodySize - 1].bytes[0] == 0x0A) {
        --bodySize;
    }
    const int lineFeeds = static_cast<int>(characters.size() - bodySize);

    const int cell = widthParameter.widthType == TextWidthType::Full ? fullCell_ : halfCell_;
    int64_t budget = static_cast<int64_t>(std::clamp(widthParameter.width, 0, kMaximumWidthCells)) * cell;
    int64_t bodyWidth = 0;
    for (size_t i = 0; i < bodySize; ++i) bodyWidth += widthOf(characters[i]);
    const bool overflow = bodyWidth > budget;
    const TextEllipsizeType ellipsize = widthParameter.ellipsizeType;
    const bool withEllipsis = overflow && ellipsize != TextEllipsizeType::None;
    if (withEllipsis) {
        budget -= settings_ != nullptr &&
                          settings_->ambiguousCharacterWidthType == AmbiguousCharacterWidthType::Full
                      ? fullCell_
                      : halfCell_;
    }

    // A small vector, not a ByteBuffer: one field of text does not need a 1 MiB chunk.
    std::vector<uint8_t> scratch;
    scratch.reserve(bodySize * 4 + sizeof(kEllipsis));
    int64_t used = 0;
    if (ellipsize == TextEllipsizeType::Start) {
        size_t first = bodySize;
        while (first > 0 && used + widthOf(characters[first - 1]) <= budget) {
            used += widthOf(characters[first - 1]);
            --first;
        }
        if (withEllipsis) appendEllipsis(scratch);
        for (size_t i = first; i < bodySize; ++i) appendCharacter(scratch, characters[i]);
    } else if (ellipsize == TextEllipsizeType::Middle) {
        size_t head = 0;
        size_t tail = bodySize;
        int64_t headWidth = 0;
        int64_t tailWidth = 0;
        while (head < tail) {
            const bool fromTail = tailWidth < headWidth;
            const CharStruct& next = fromTail ? characters[tail - 1] : characters[head];
            if (headWidth + tailWidth + widthOf(next) > budget) break;
            if (fromTail) {
                tailWidth += widthOf(next);
                --tail;
            } else {
                headWidth += widthOf(next);
                ++head;
            }
        }
        used = headWidth + tailWidth;
        for (size_t i = 0; i < head; ++i) appendCharacter(scratch, characters[i]);
        if (withEllipsis) appendEllipsis(scratch);
        for (size_t i = tail; i < bodySize; ++i) appendCharacter(scratch, characters[i]);
    } else {
        size_t count = 0;
        while (count < bodySize && used + widthOf(characters[count]) <= budget) {
            used += widthOf(characters[count]);
            ++count;
        }
        for (size_t i = 0; i < count; ++i) appendCharacter(scratch, characters[i]);
        if (withEllipsis && ellipsize == TextEllipsizeType::End) appendEllipsis(scratch);
    }

    const int64_t rest = budget - used;
    if (rest < 1) {
        append(output, scratch, widthParameter.width);
    } else {
        const int pad = static_cast<int>(rest / cell);
        switch (widthParameter.alignment) {
            case TextAlignment::Center:
                appendSpace(output, (pad + 1) / 2, widthParameter.widthType);
                append(output, scratch, widthParameter.width);
                appendSpace(output, pad / 2, widthParameter.widthType);
                break;
            case TextAlignment::Right:
                appendSpace(output, pad, widthParameter.widthType);
                append(output, scratch, widthParameter.width);
                break;
            default:
                append(output, scratch, widthParameter.width);
                appendSpace(output, pad, widthParameter.widthType);
                break;
        }
    }

    if (lineFeeds > 0) {
        appendLf(output, lineFeeds);
        isLineHead = true;
    } else if (output->getDataSize() > sizeBefore) {
        isLineHead = false;
    }
}

}  // namespace PrinterCommandBuilder::Printer
