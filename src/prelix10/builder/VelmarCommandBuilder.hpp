#pragma once

#include "prelix10/core/Export.hpp"
#include <memory>
#include <optional>
#include <string>

#include "prelix10/builder/DocumentBuilder.hpp"
#include "prelix10/builder/PreSettingBuilder.hpp"
#include "prelix10/core/JSONBuilder.hpp"

namespace Prelix10::VelmarCommand {

// The root of a command document: {"title": "VelmarCommand", "version": "1.0.0", "contents": [...]}.
// Like every builder it is a handle: copies share the same tree.
class PRELIX10_EXPORT VelmarCommandBuilder {
  public:
    VelmarCommandBuilder();

    VelmarCommandBuilder& addDocument(const DocumentBuilder& builder);

    // Written first in "contents", ahead of all documents.
    const std::optional<PreSettingBuilder>& preSetting() const { return state_->preSetting; }
    void setPreSetting(std::optional<PreSettingBuilder> preSetting) {
        state_->preSetting = std::move(preSetting);
    }

    // The JSON command document. The stored tree is not changed, so every call gives the same text for
    // the same tree.
    std::string getCommands() const;

    const JsonObjectRef& rootObject() const { return state_->root; }

  private:
    struct State {
        JsonObjectRef root;
        std::optional<PreSettingBuilder> preSetting;
    };
    std::shared_ptr<State> state_;
};

}  // namespace Prelix10::VelmarCommand
