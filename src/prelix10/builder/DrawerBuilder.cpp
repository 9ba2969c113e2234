#include "prelix10/builder/DrawerBuilder.hpp"

namespace Prelix10::VelmarCommand {

DrawerBuilder::DrawerBuilder() : CategoryBuilder("Drawer", false) {}

DrawerBuilder& DrawerBuilder::actionOpen(const Drawer::OpenParameter& parameter) {
    const auto channel = jsonString(parameter.channel());
    if (!channel) return *this;
    appendMethod("Action.Open",
                 JsonObject::make({{"channel", JsonLiteral{*channel}}, {"on_time", parameter.onTime()}}));
    return *this;
}

}  // namespace Prelix10::VelmarCommand
