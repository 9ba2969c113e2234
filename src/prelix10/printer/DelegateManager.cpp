#include "prelix10/printer/DelegateManager.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoPrinterStatusDetailInternal.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"

namespace Prelix10 {

namespace {

std::weak_ptr<PrinterDelegate> slotOf(const OrvoPrinter& p, const PrinterDelegate*) { return p.printerDelegate(); }
std::weak_ptr<DrawerDelegate> slotOf(const OrvoPrinter& p, const DrawerDelegate*) { return p.drawerDelegate(); }
std::weak_ptr<InputDeviceDelegate> slotOf(const OrvoPrinter& p, const InputDeviceDelegate*) { return p.inputDeviceDelegate(); }
std::weak_ptr<DisplayDelegate> slotOf(const OrvoPrinter& p, const DisplayDelegate*) { return p.displayDelegate(); }

// An event that reads the printer's delegate slot when it runs, not when the poll saw the change: a delegate
// replaced or cleared meanwhile gets nothing. The delegate is held strongly only for the call.
template <typename Delegate, typename Call>
PendingEvent makeEvent(const char* className, const char* name, Call call) {
    return [className, name, call = std::move(call)](OrvoPrinter& printer) {
        Log(nullptr, className, name, __LINE__).writeIfLogging("");
        if (auto delegate = slotOf(printer, static_cast<const Delegate*>(nullptr)).lock()) {
            call(*delegate, printer);
        }
    };
}

}  // namespace

DrawerStatusDetail DrawerStatusDetail::from(const OrvoPrinterStatusDetailInternal* detail) {
    DrawerStatusDetail d;
    if (!detail) return d;
    d.drawerOpenError = detail->drawerOpenError();
    d.drawer1OpenedMethod = detail->drawer1OpenedMethod();
    d.drawer1OpenCloseSignal = detail->drawer1OpenCloseSignal();
    d.drawer2OpenedMethod = detail->drawer2OpenedMethod();
    d.drawer2OpenCloseSignal = detail->drawer2OpenCloseSignal();
    d.drawer3OpenedMethod = detail->drawer3OpenedMethod();
    d.drawer3OpenCloseSignal = detail->drawer3OpenCloseSignal();
    d.drawer4OpenedMethod = detail->drawer4OpenedMethod();
    d.drawer4OpenCloseSignal = detail->drawer4OpenCloseSignal();
    d.externalDevice1Connected = detail->externalDevice1Connected();
    d.externalDevice2Connected = detail->externalDevice2Connected();
    d.externalDevice3Connected = detail->externalDevice3Connected();
    d.externalDevice4Connected = detail->externalDevice4Connected();
    return d;
}

PendingEvent PrinterDelegateManager::event(const char* name, void (PrinterDelegate::*method)(OrvoPrinter&)) const {
    return makeEvent<PrinterDelegate>("PrinterDelegateManager", name,
                     [method](PrinterDelegate& d, OrvoPrinter& p) { (d.*method)(p); });
}

void PrinterDelegateManager::handlePrinterStatus(const OrvoPrinterStatus& status, PendingEvents& events) {
    const OrvoPrinterStatus* last = status_.get();
    if (!last || last->hasError() != status.hasError()) {
        events.push_back(status.hasError() ? event("printerDidHaveError()", &PrinterDelegate::printerDidHaveError)
                                           : event("printerIsReady()", &PrinterDelegate::printerIsReady));
    }
    if (!last || last->paperEmpty() != status.paperEmpty()) {
        events.push_back(status.paperEmpty() ? event("printerIsPaperEmpty()", &PrinterDelegate::printerIsPaperEmpty)
                                             : event("printerIsPaperReady()", &PrinterDelegate::printerIsPaperReady));
    }
    if (status.paperNearEmpty() && (!last || !last->paperNearEmpty())) {
        events.push_back(event("printerIsPaperNearEmpty()", &PrinterDelegate::printerIsPaperNearEmpty));
    }
    if (!last || last->coverOpen() != status.coverOpen()) {
        events.push_back(status.coverOpen() ? event("printerIsCoverOpen()", &PrinterDelegate::printerIsCoverOpen)
                                            : event("printerIsCoverClose()", &PrinterDelegate::printerIsCoverClose));
    }
    status_ = std::make_shared<const OrvoPrinterStatus>(status);
}

PendingEvent PrinterDelegateManager::errorEvent(const Prelix10Error& error) {
    return makeEvent<PrinterDelegate>("PrinterDelegateManager", "raiseErrorEvent(error:)",
                     [error](PrinterDelegate& d, OrvoPrinter& p) { d.communicationErrorDidOccur(p, error); });
}

void DrawerDelegateManager::handlePrinterStatus(const OrvoPrinterStatus& status, PendingEvents& events) {
    const bool signal = status.drawerOpenCloseSignal();
    if (!drawerOpenCloseSignal_ || *drawerOpenCloseSignal_ != signal) {
        events.push_back(makeEvent<DrawerDelegate>("DrawerDelegateManager", "drawerOpenCloseSignalSwitched(drawerOpenCloseSignal:)",
                                   [signal](DrawerDelegate& d, OrvoPrinter& p) { d.drawerDidSwitch(p, signal); }));
    }
    const auto detail = DrawerStatusDetail::from(status.detailInternal().get());
    if (!statusDetail_ || !(*statusDetail_ == detail)) {
        std::shared_ptr<const OrvoPrinterStatusDetail> whole = status.detailInternal();
        events.push_back(makeEvent<DrawerDelegate>("DrawerDelegateManager", "drawerStatusChanged(_:)",
                                   [whole](DrawerDelegate& d, OrvoPrinter& p) { d.drawerDidSwitchStatusDetails(p, whole); }));
    }
    drawerOpenCloseSignal_ = signal;
    statusDetail_ = detail;
}

PendingEvent DrawerDelegateManager::errorEvent(const Prelix10Error& error) {
    return makeEvent<DrawerDelegate>("DrawerDelegateManager", "raiseErrorEvent(error:)",
                     [error](DrawerDelegate& d, OrvoPrinter& p) { d.communicationErrorDidOccur(p, error); });
}

ByteBlock InputDeviceDelegateManager::requestCommands() const {
    ByteBlock request = statusParser_.requestCommands();
    const ByteBlock stored = storedDataParser_.requestCommands();
    request.insert(request.end(), stored.begin(), stored.end());
    return request;
}

bool InputDeviceDelegateManager::handleResponse(ByteView reply, PendingEvents& events) {
    if (!statusDone_ && statusParser_.parse(reply).state == CommandParserState::complete &&
        statusParser_.isConnected()) {
        const bool connected = *statusParser_.isConnected();
        if (!isConnected_ || *isConnected_ != connected) {
            events.push_back(connected ? makeEvent<InputDeviceDelegate>("InputDeviceDelegateManager", "inputDeviceDidConnect()",
                                                   [](InputDeviceDelegate& d, OrvoPrinter& p) { d.inputDeviceDidConnect(p); })
                                       : makeEvent<InputDeviceDelegate>("InputDeviceDelegateManager", "inputDeviceDidDisconnect()",
                                                   [](InputDeviceDelegate& d, OrvoPrinter& p) { d.inputDeviceDidDisconnect(p); }));
        }
        isConnected_ = connected;
        statusDone_ = true;
    }
    if (!storedDataDone_ && storedDataParser_.parse(reply).state == CommandParserState::complete &&
        storedDataParser_.storedData()) {
        const ByteBlock& data = *storedDataParser_.storedData();
        if (!data.empty()) {
            events.push_back(makeEvent<InputDeviceDelegate>("InputDeviceDelegateManager", "inputDeviceDidReceive(data:)",
                                       [data](InputDeviceDelegate& d, OrvoPrinter& p) { d.inputDeviceDidReceive(p, data); }));
        }
        storedDataDone_ = true;
    }
    return statusDone_ && storedDataDone_;
}

PendingEvent InputDeviceDelegateManager::errorEvent(const Prelix10Error& error) {
    return makeEvent<InputDeviceDelegate>("InputDeviceDelegateManager", "raiseErrorEvent(error:)",
                     [error](InputDeviceDelegate& d, OrvoPrinter& p) { d.communicationErrorDidOccur(p, error); });
}

bool DisplayDelegateManager::handleResponse(ByteView reply, PendingEvents& events) {
    if (!statusDone_ && statusParser_.parse(reply).state == CommandParserState::complete && statusParser_.isConnected()) {
        const bool connected = *statusParser_.isConnected();
        if (!isConnected_ || *isConnected_ != connected) {
            events.push_back(connected ? makeEvent<DisplayDelegate>("DisplayDelegateManager", "displayDidConnect()",
                                                   [](DisplayDelegate& d, OrvoPrinter& p) { d.displayDidConnect(p); })
                                       : makeEvent<DisplayDelegate>("DisplayDelegateManager", "displayDidDisconnect()",
                                                   [](DisplayDelegate& d, OrvoPrinter& p) { d.displayDidDisconnect(p); }));
        }
        isConnected_ = connected;
        statusDone_ = true;
    }
    return statusDone_;
}

PendingEvent DisplayDelegateManager::errorEvent(const Prelix10Error& error) {
    return makeEvent<DisplayDelegate>("DisplayDelegateManager", "raiseErrorEvent(error:)",
                     [error](DisplayDelegate& d, OrvoPrinter& p) { d.communicationErrorDidOccur(p, error); });
}

}  // namespace Prelix10
