#pragma once

#include <memory>

#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"

// The printer handle, shared by the faces of the printer and of the objects reached through it.
struct prelix10_printer {
    explicit prelix10_printer(std::shared_ptr<Prelix10::OrvoPrinter> object) : printer(std::move(object)) {}
    std::shared_ptr<Prelix10::OrvoPrinter> printer;
};
