#include "prelix10/command/Code128CodeSetChooser.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

enum class TokenKind : std::uint8_t { SetA, SetB, SetC, Shift, Data, Function };
enum class CodeSet : std::uint8_t { None, A, B, C };

struct Token {
    TokenKind kind;
    std::uint8_t value;
};

bool isDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

bool isFunction(std::uint8_t c) {
    return c == Code128CodeSetChooser::fnc1 || c == Code128CodeSetChooser::fnc2 ||
           c == Code128CodeSetChooser::fnc3 || c == Code128CodeSetChooser::fnc4;
}

class Chooser {
  public:
    std::vector<Token> tokens;

    void put(const std::uint8_t* data, std::size_t length) {
        std::size_t i = 0;
        while (i < length) {
            const std::uint8_t c = data[i];
            if (c == Code128CodeSetChooser::fnc1) {
                if (current_ == CodeSet::None) {
                    openB();
                }
                write(TokenKind::Function, c);
                ++i;
                continue;
            }
            std::size_t digits = 0;
            while (i + digits < length && isDigit(data[i + digits])) {
                ++digits;
            }
            if (digits >= 4) {
                if (current_ != CodeSet::C) {
                    switchTo(CodeSet::C, TokenKind::SetC);
                }
                const std::size_t pairs = digits / 2;
                for (std::size_t k = 0; k < pairs; ++k) {
                    const auto tens = static_cast<std::uint8_t>(data[i + 2 * k] - '0');
                    const auto units = static_cast<std::uint8_t>(data[i + 2 * k + 1] - '0');
                    write(TokenKind::Data, static_cast<std::uint8_t>(tens * 10 + units));
                }
                i += pairs * 2;
                continue;
            }
            if (c < 0x20) {
                need(CodeSet::A, TokenKind::SetA);
                write(TokenKind::Data, c);
            } else if (c >= 0x60 && c <= 0x7F) {
                need(CodeSet::B, TokenKind::SetB);
                write(TokenKind::Data, c);
            } else if (c < 0x60 || isFunction(c)) {
                if (current_ != CodeSet::A && current_ != CodeSet::B) {
                    openB();
                }
                write(isFunction(c) ? TokenKind::Function : TokenKind::Data, c);
            }
            ++i;
        }
    }

  private:
    CodeSet current_ = CodeSet::None;
    CodeSet previous_ = CodeSet::None;
    bool opening_ = false;       // the current set B mark may still become set A
    std::size_t markIndex_ = 0;  // the token of the last mark
    std::size_t sinceMark_ = 0;  // characters written since that mark

    void write(TokenKind kind, std::uint8_t value) {
        tokens.push_back({kind, value});
        ++sinceMark_;
    }

    void switchTo(CodeSet set, TokenKind mark) {
        previous_ = current_;
        current_ = set;
        opening_ = false;
        markIndex_ = tokens.size();
        sinceMark_ = 0;
        tokens.push_back({mark, 0});
    }

    void openB() {
        switchTo(CodeSet::B, TokenKind::SetB);
        opening_ = true;
    }

    // Brings the chooser into set A or B for the next character, turning a switch made one
    // character ago into a shift when that character was the only one in the other set.
    void need(CodeSet set, TokenKind mark) {
        const CodeSet other = set == CodeSet::A ? CodeSet::B : CodeSet::A;
        if (current_ == CodeSet::B && opening_) {
            tokens[markIndex_].kind = mark;
            current_ = set;
            opening_ = false;
        } else if (current_ == other && previous_ == set && sinceMark_ == 1) {
            tokens[markIndex_].kind = TokenKind::Shift;
            current_ = set;
            previous_ = CodeSet::None;
            sinceMark_ = 2;
        } else if (current_ != set) {
            switchTo(set, mark);
        }
    }
};

}  // namespace

std::vector<std::uint8_t> Code128CodeSetChooser::choose(const std::uint8_t* data, std::size_t length) {
    Chooser chooser;
    chooser.put(data, length);
    std::vector<std::uint8_t> out;
    out.reserve(chooser.tokens.size() * 2);
    auto pair = [&out](char second) {
        out.push_back('{');
        out.push_back(static_cast<std::uint8_t>(second));
    };
    for (const Token& t : chooser.tokens) {
        switch (t.kind) {
            case TokenKind::SetA:
                pair('A');
                break;
            case TokenKind::SetB:
                pair('B');
                break;
            case TokenKind::SetC:
                pair('C');
                break;
            case TokenKind::Shift:
                pair('S');
                break;
            case TokenKind::Function:
                pair(t.value == fnc1 ? '1' : t.value == fnc2 ? '2' : t.value == fnc3 ? '3' : '4');
                break;
            case TokenKind::Data:
                if (t.value == '{') {
                    pair('{');
                } else {
                    out.push_back(t.value);
                }
                break;
        }
    }
    return out;
}

}  // namespace PrinterCommandBuilder::Printer
