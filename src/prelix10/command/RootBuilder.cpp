#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

RootBuilder::~RootBuilder() {
    // Device builders go first, in member order; records still on the stack are dropped without
    // sending anything.
    buzzer_.reset();
    display_.reset();
    document_.reset();
    drawer_.reset();
    melodySpeaker_.reset();
    printer_.reset();
    printerPageMode_.reset();
    preSetting_.reset();
    presenter_.reset();
    bezel_.reset();
    settingsStack_.clear();
}

}  // namespace PrinterCommandBuilder
