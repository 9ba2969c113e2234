#pragma once

#include "prelix10/core/Export.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Prelix10 {

// The security of a wireless LAN as the AT commands carry it: an ASCII text of one or two bytes. Equal and
// hashed by those bytes.
class PRELIX10_EXPORT WLanSecurityType {
public:
    enum class Case { unknown, open, wpaPersonal, wpa2Personal, wpa3SAE, automatic };

    constexpr WLanSecurityType(Case value = Case::unknown) : case_(value) {}  // NOLINT: cases convert freely

    static const WLanSecurityType unknown;
    static const WLanSecurityType open;
    static const WLanSecurityType wpaPersonal;
    static const WLanSecurityType wpa2Personal;
    static const WLanSecurityType wpa3SAE;
    static const WLanSecurityType automatic;  // "auto"

    // Every case, in order.
    static const std::vector<WLanSecurityType>& allCases();

    // The first case whose bytes equal these, in case order; unknown for anything else, never none.
    static WLanSecurityType fromRawValue(std::span<const std::uint8_t> raw);

    Case value() const { return case_; }
    // unknown is one zero byte; the others are their ASCII digits ("10" for auto).
    std::vector<std::uint8_t> rawValue() const;
    std::string description() const;

    bool operator==(const WLanSecurityType& other) const { return rawValue() == other.rawValue(); }

private:
    Case case_;
};

}  // namespace Prelix10

template <>
struct std::hash<Prelix10::WLanSecurityType> {
    std::size_t operator()(const Prelix10::WLanSecurityType& type) const noexcept {
        std::size_t h = 0;
        for (auto b : type.rawValue()) h = h * 131 + b;
        return h;
    }
};
