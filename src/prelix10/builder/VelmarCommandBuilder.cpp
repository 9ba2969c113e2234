#include "prelix10/builder/VelmarCommandBuilder.hpp"

namespace Prelix10::VelmarCommand {

VelmarCommandBuilder::VelmarCommandBuilder() : state_(std::make_shared<State>()) {
    state_->root =
        JsonObject::make({{"title", "VelmarCommand"}, {"version", "1.0.0"}, {"contents", JsonList{}}});
}

VelmarCommandBuilder& VelmarCommandBuilder::addDocument(const DocumentBuilder& builder) {
    state_->root->find("contents")->list()->emplace_back(builder.categoryObject());
    return *this;
}

std::string VelmarCommandBuilder::getCommands() const {
    const JsonValue* stored = state_->root->get("contents");
    JsonList contents = stored && stored->list() ? *stored->list() : JsonList{};
    if (state_->preSetting)
        contents.insert(contents.begin(), JsonValue(state_->preSetting->categoryObject()));
    JsonObjectRef root = JsonObject::make();
    for (const auto& [key, value] : state_->root->pairs()) {
        if (key == "contents") {
            root->set(key, contents);
        } else {
            root->set(key, value);
        }
    }
    return JSONBuilder("\n", "\t").build(JsonValue(std::move(root)), 0);
}

}  // namespace Prelix10::VelmarCommand
