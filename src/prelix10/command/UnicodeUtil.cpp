#include "prelix10/command/UnicodeUtil.hpp"

#include "prelix10/command/EncodingTables.hpp"

namespace VelmarCommandParser {

bool UnicodeUtil::isAmbiguousCharacter(uint16_t code, Encode encode) {
    int bit = 0;
    switch (encode) {
        case Encode::SimplifiedChinese:
            bit = 0;
            break;
        case Encode::Japanese:
            bit = 1;
            break;
        case Encode::TraditionalChinese:
            bit = 2;
            break;
        case Encode::Korean:
            bit = 3;
            break;
        default:
            return false;
    }
    return (EncodingTables::ambiguousFlags(code) >> bit) & 1;
}

}  // namespace VelmarCommandParser
