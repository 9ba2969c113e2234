#include "prelix10/builder/PrinterBuilder.hpp"

#include "prelix10/builder/PageModeBuilder.hpp"

namespace Prelix10::VelmarCommand {

PrinterBuilder::PrinterBuilder()
    : PrinterBaseBuilder("Printer", true),
      parameter_(std::make_shared<std::optional<Printer::PrinterParameter>>()) {}

PrinterBuilder::PrinterBuilder(Printer::PrinterParameter parameter)
    : PrinterBaseBuilder("Printer", true),
      parameter_(std::make_shared<std::optional<Printer::PrinterParameter>>(std::move(parameter))) {}

void PrinterBuilder::appendTemplateExtensionForParent() {
    if (*parameter_) appendTemplateExtension((*parameter_)->templateExtension());
}

PrinterBuilder& PrinterBuilder::add(PrinterBuilder builder) {
    if (reaches(*builder.categoryObject(), categoryObject().get())) return *this;
    builder.appendTemplateExtensionForParent();
    appendChild(builder);
    return *this;
}

PrinterBuilder& PrinterBuilder::addPageMode(const Printer::PageModeAreaParameter& parameter,
                                            PageModeBuilder builder) {
    if (reaches(*builder.categoryObject(), categoryObject().get())) return *this;
    builder.prepareForParent(&parameter);
    appendChild(builder);
    return *this;
}

}  // namespace Prelix10::VelmarCommand
