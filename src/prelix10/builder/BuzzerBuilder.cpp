#include "prelix10/builder/BuzzerBuilder.hpp"

namespace Prelix10::VelmarCommand {

BuzzerBuilder::BuzzerBuilder() : CategoryBuilder("Buzzer", false) {}

BuzzerBuilder& BuzzerBuilder::actionDrive(const Buzzer::DriveParameter& parameter) {
    const auto channel = jsonString(parameter.channel());
    if (!channel) return *this;
    appendMethod("Action.Drive", JsonObject::make({{"channel", JsonLiteral{*channel}},
                                                   {"repeat", parameter.repeat()},
                                                   {"on_time", parameter.onTime()},
                                                   {"off_time", parameter.offTime()}}));
    return *this;
}

}  // namespace Prelix10::VelmarCommand
