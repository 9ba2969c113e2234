#include "prelix10/command/BuilderFactory.hpp"

#include "prelix10/command/EscposBuilder.hpp"
#include "prelix10/command/EscposMobileBuilder.hpp"
#include "prelix10/command/KestrinBuilder.hpp"
#include "prelix10/command/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/OrvoGraphicBuilder.hpp"
#include "prelix10/command/OrvoLineBuilder.hpp"
#include "prelix10/command/OrvoYalme1Builder.hpp"

namespace PrinterCommandBuilder {

BuilderFactory::BuilderFactory(const std::string& emulation, ByteBuffer* buffer, PrinterModel model) {
    if (emulation == "Kestrin")
        root_ = std::make_unique<KestrinBuilder>(buffer, model);
    else if (emulation == "OrvoLine")
        root_ = std::make_unique<OrvoLineBuilder>(buffer, model);
    else if (emulation == "OrvoGraphic")
        root_ = std::make_unique<OrvoGraphicBuilder>(buffer, model);
    else if (emulation == "OrvoDot")
        root_ = std::make_unique<OrvoDotImpactBuilder>(buffer, model);
    else if (emulation == "OrvoYalme1")
        root_ = std::make_unique<OrvoYalme1Builder>(buffer, model);
    else if (emulation == "EscPos")
        root_ = std::make_unique<EscposBuilder>(buffer, model);
    else if (emulation == "EscPosMobile")
        root_ = std::make_unique<EscposMobileBuilder>(buffer, model);
}

std::unique_ptr<RootBuilder> BuilderFactory::create() {
    return std::move(root_);
}

}  // namespace PrinterCommandBuilder
