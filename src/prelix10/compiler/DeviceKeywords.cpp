#include "prelix10/compiler/DeviceKeywords.hpp"

namespace VelmarCommandParser {

using namespace PrinterCommandBuilder;

const std::map<std::string, Drawer::DrawerChannel>& DeviceKeywords::drawerChannel() {
    using C = Drawer::DrawerChannel;
    static const std::map<std::string, C> map = {
        {"No.1", C::No1}, {"No.2", C::No2}, {"No.3", C::No3}, {"No.4", C::No4}};
    return map;
}

const std::map<std::string, Buzzer::BuzzerChannel>& DeviceKeywords::buzzerChannel() {
    using C = Buzzer::BuzzerChannel;
    static const std::map<std::string, C> map = {
        {"No.1", C::No1}, {"No.2", C::No2}, {"No.3", C::No3}, {"No.4", C::No4}};
    return map;
}

const std::map<std::string, MelodySpeaker::Area>& DeviceKeywords::melodySpeakerArea() {
    using A = MelodySpeaker::Area;
    static const std::map<std::string, A> map = {{"Area1", A::Area1}, {"Area2", A::Area2}};
    return map;
}

const std::map<std::string, Document::BlackMarkPosition>& DeviceKeywords::blackMarkPosition() {
    using P = Document::BlackMarkPosition;
    static const std::map<std::string, P> map = {{"Front", P::Front}, {"Back", P::Back}};
    return map;
}

const std::map<std::string, Display::ContrastValue>& DeviceKeywords::displayContrast() {
    using V = Display::ContrastValue;
    static const std::map<std::string, V> map = {
        {"Plus3", V::Plus3},   {"Plus2", V::Plus2},   {"Plus1", V::Plus1},  {"Default", V::Default},
        {"Minus1", V::Minus1}, {"Minus2", V::Minus2}, {"Minus3", V::Minus3}};
    return map;
}

const std::map<std::string, Display::CursorStateValue>& DeviceKeywords::displayCursorState() {
    using V = Display::CursorStateValue;
    static const std::map<std::string, V> map = {{"Off", V::Off}, {"On", V::On}, {"Blink", V::Blink}};
    return map;
}

const std::map<std::string, Display::InternationalCharacterType>&
DeviceKeywords::displayInternationalCharacter() {
    using T = Display::InternationalCharacterType;
    static const std::map<std::string, T> map = {{"Usa", T::Usa},
                                                 {"France", T::France},
                                                 {"Germany", T::Germany},
                                                 {"UK", T::UK},
                                                 {"Denmark", T::Denmark},
                                                 {"Sweden", T::Sweden},
                                                 {"Italy", T::Italy},
                                                 {"Spain", T::Spain},
                                                 {"Japan", T::Japan},
                                                 {"Norway", T::Norway},
                                                 {"Denmark2", T::Denmark2},
                                                 {"Spain2", T::Spain2},
                                                 {"LatinAmerica", T::LatinAmerica},
                                                 {"Korea", T::Korea}};
    return map;
}

const std::map<std::string, Display::Encode>& DeviceKeywords::displayEncoding() {
    using E = Display::Encode;
    static const std::map<std::string, E> map = {{"TraditionalChinese", E::TraditionalChinese},
                                                 {"SimplifiedChinese", E::SimplifiedChinese},
                                                 {"Japanese", E::Japanese},
                                                 {"Korean", E::Korean},
                                                 {"CodePage", E::CodePage}};
    return map;
}

const std::map<std::string, Presenter::LedType>& DeviceKeywords::presenterLed() {
    using L = Presenter::LedType;
    static const std::map<std::string, L> map = {
        {"Error", L::Error}, {"Holding", L::Holding}, {"Idle", L::Idle}};
    return map;
}

const std::map<std::string, Bezel::LedType>& DeviceKeywords::bezelLed() {
    using L = Bezel::LedType;
    static const std::map<std::string, L> map = {
        {"Error", L::Error}, {"Idle", L::Idle}, {"Holding", L::Holding}};
    return map;
}

}  // namespace VelmarCommandParser
