#pragma once

#include <memory>

#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"

namespace Prelix10::CApi {

// The C++ delegates of one printer handle: each forwards its events to the application's C table. The
// printer holds them weakly; the handle owns them.
class PrinterDelegateBridge;
class DrawerDelegateBridge;
class InputDeviceDelegateBridge;
class DisplayDelegateBridge;

struct PrinterDelegateBridges {
    std::shared_ptr<PrinterDelegateBridge> printer;
    std::shared_ptr<DrawerDelegateBridge> drawer;
    std::shared_ptr<InputDeviceDelegateBridge> inputDevice;
    std::shared_ptr<DisplayDelegateBridge> display;
};

// Clears every table of the handle (waiting for calls on other threads) and detaches the bridges.
void clearDelegates(prelix10_printer& handle) noexcept;

// The printer of a live printer handle, or an argument error.
OrvoPrinter& printerOf(const prelix10_printer* handle);

}  // namespace Prelix10::CApi

// The printer handle, shared by the faces of the printer and of the objects reached through it.
struct prelix10_printer {
    explicit prelix10_printer(std::shared_ptr<Prelix10::OrvoPrinter> object);
    ~prelix10_printer();
    std::shared_ptr<Prelix10::OrvoPrinter> printer;
    std::unique_ptr<Prelix10::CApi::PrinterDelegateBridges> delegates;
};
