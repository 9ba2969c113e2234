#include "prelix10/builder/PageModeBuilder.hpp"

namespace Prelix10::VelmarCommand {

PageModeBuilder::PageModeBuilder()
    : PrinterBaseBuilder("PageMode", true),
      parameter_(std::make_shared<std::optional<Printer::PageModeParameter>>()) {}

PageModeBuilder::PageModeBuilder(Printer::PageModeParameter parameter)
    : PrinterBaseBuilder("PageMode", true),
      parameter_(std::make_shared<std::optional<Printer::PageModeParameter>>(std::move(parameter))) {}

void PageModeBuilder::prepareForParent(const Printer::PageModeAreaParameter* area) {
    if (area) appendPageModeArea(*area);
    if (*parameter_) appendTemplateExtension((*parameter_)->templateExtension());
}

PageModeBuilder& PageModeBuilder::add(PageModeBuilder builder) {
    if (reaches(*builder.categoryObject(), categoryObject().get())) return *this;
    builder.prepareForParent(nullptr);
    appendChild(builder);
    return *this;
}

PageModeBuilder& PageModeBuilder::addPageMode(const Printer::PageModeAreaParameter& parameter,
                                              PageModeBuilder builder) {
    if (reaches(*builder.categoryObject(), categoryObject().get())) return *this;
    builder.prepareForParent(&parameter);
    appendChild(builder);
    return *this;
}

}  // namespace Prelix10::VelmarCommand
