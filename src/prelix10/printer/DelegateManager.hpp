#pragma once

// The app's delegate protocols of a printer object and the managers that turn what the background monitor
// sees into their events. Every delegate method is optional: the defaults do nothing.

#include "prelix10/core/Export.hpp"
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "prelix10/core/DrawerOpenedMethod.hpp"
#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/protocol/AccessoryReplyParsers.hpp"

namespace Prelix10 {

class OrvoPrinter;

class PRELIX10_EXPORT PrinterDelegate {
public:
    virtual ~PrinterDelegate() = default;
    virtual void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error&) {}
    virtual void printerIsReady(OrvoPrinter&) {}
    virtual void printerDidHaveError(OrvoPrinter&) {}
    virtual void printerIsPaperReady(OrvoPrinter&) {}
    virtual void printerIsPaperNearEmpty(OrvoPrinter&) {}
    virtual void printerIsPaperEmpty(OrvoPrinter&) {}
    virtual void printerIsCoverOpen(OrvoPrinter&) {}
    virtual void printerIsCoverClose(OrvoPrinter&) {}
};

class PRELIX10_EXPORT DrawerDelegate {
public:
    virtual ~DrawerDelegate() = default;
    virtual void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error&) {}
    virtual void drawerDidSwitch(OrvoPrinter&, bool /*openCloseSignal*/) {}
    virtual void drawerDidSwitchStatusDetails(OrvoPrinter&, std::shared_ptr<const OrvoPrinterStatusDetail>) {}
};

class PRELIX10_EXPORT InputDeviceDelegate {
public:
    virtual ~InputDeviceDelegate() = default;
    virtual void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error&) {}
    virtual void inputDeviceDidConnect(OrvoPrinter&) {}
    virtual void inputDeviceDidDisconnect(OrvoPrinter&) {}
    virtual void inputDeviceDidReceive(OrvoPrinter&, const ByteBlock&) {}
};

class PRELIX10_EXPORT DisplayDelegate {
public:
    virtual ~DisplayDelegate() = default;
    virtual void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error&) {}
    virtual void displayDidConnect(OrvoPrinter&) {}
    virtual void displayDidDisconnect(OrvoPrinter&) {}
};

// The four delegate slots of a printer object, copied as one value.
struct PRELIX10_EXPORT PrinterDelegates {
    std::weak_ptr<PrinterDelegate> printer;
    std::weak_ptr<DrawerDelegate> drawer;
    std::weak_ptr<InputDeviceDelegate> inputDevice;
    std::weak_ptr<DisplayDelegate> display;
};

// An event waiting to be raised: it resolves its delegate when it runs.
using PendingEvent = std::function<void(OrvoPrinter&)>;
using PendingEvents = std::vector<PendingEvent>;

// The drawer part of the detailed status; an empty field equals only an empty field.
struct PRELIX10_EXPORT DrawerStatusDetail {
    std::optional<bool> drawerOpenError;
    std::optional<DrawerOpenedMethod> drawer1OpenedMethod;
    std::optional<bool> drawer1OpenCloseSignal;
    std::optional<DrawerOpenedMethod> drawer2OpenedMethod;
    std::optional<bool> drawer2OpenCloseSignal;
    std::optional<DrawerOpenedMethod> drawer3OpenedMethod;
    std::optional<bool> drawer3OpenCloseSignal;
    std::optional<DrawerOpenedMethod> drawer4OpenedMethod;
    std::optional<bool> drawer4OpenCloseSignal;
    std::optional<bool> externalDevice1Connected;
    std::optional<bool> externalDevice2Connected;
    std::optional<bool> externalDevice3Connected;
    std::optional<bool> externalDevice4Connected;

    static DrawerStatusDetail from(const OrvoPrinterStatusDetailInternal* detail);
    bool operator==(const DrawerStatusDetail&) const = default;
};

// What the monitor asks of each manager. Status and reply handling only record events into the list; the
// monitor raises them once the printer's lock is released.
class DelegateManager {
public:
    virtual ~DelegateManager() = default;
    virtual bool needPrinterStatus() const = 0;
    virtual ByteBlock requestCommands() const = 0;
    // Called once at the start of every poll in which the manager is active.
    virtual void beginPoll() {}
    virtual void handlePrinterStatus(const OrvoPrinterStatus& status, PendingEvents& events) = 0;
    // Takes every reply byte of this poll so far; true once the manager is done for this poll.
    virtual bool handleResponse(ByteView reply, PendingEvents& events) = 0;
    virtual PendingEvent errorEvent(const Prelix10Error& error) = 0;
};

class PrinterDelegateManager final : public DelegateManager {
public:
    explicit PrinterDelegateManager(std::weak_ptr<PrinterDelegate> delegate) : delegate_(std::move(delegate)) {}
    void setDelegate(std::weak_ptr<PrinterDelegate> delegate) { delegate_ = std::move(delegate); }
    bool hasDelegate() const { return !delegate_.expired(); }
    bool needPrinterStatus() const override { return true; }
    ByteBlock requestCommands() const override { return {}; }
    void handlePrinterStatus(const OrvoPrinterStatus& status, PendingEvents& events) override;
    bool handleResponse(ByteView, PendingEvents&) override { return true; }
    PendingEvent errorEvent(const Prelix10Error& error) override;

private:
    PendingEvent event(const char* name, void (PrinterDelegate::*method)(OrvoPrinter&)) const;
    std::weak_ptr<PrinterDelegate> delegate_;
    std::shared_ptr<const OrvoPrinterStatus> status_;
};

class DrawerDelegateManager final : public DelegateManager {
public:
    explicit DrawerDelegateManager(std::weak_ptr<DrawerDelegate> delegate) : delegate_(std::move(delegate)) {}
    void setDelegate(std::weak_ptr<DrawerDelegate> delegate) { delegate_ = std::move(delegate); }
    bool hasDelegate() const { return !delegate_.expired(); }
    bool needPrinterStatus() const override { return true; }
    ByteBlock requestCommands() const override { return {}; }
    void handlePrinterStatus(const OrvoPrinterStatus& status, PendingEvents& events) override;
    bool handleResponse(ByteView, PendingEvents&) override { return true; }
    PendingEvent errorEvent(const Prelix10Error& error) override;

private:
    std::weak_ptr<DrawerDelegate> delegate_;
    std::optional<bool> drawerOpenCloseSignal_;
    std::optional<DrawerStatusDetail> statusDetail_;
};

class InputDeviceDelegateManager final : public DelegateManager {
public:
    explicit InputDeviceDelegateManager(std::weak_ptr<InputDeviceDelegate> delegate) : delegate_(std::move(delegate)) {}
    void setDelegate(std::weak_ptr<InputDeviceDelegate> delegate) { delegate_ = std::move(delegate); }
    bool hasDelegate() const { return !delegate_.expired(); }
    bool needPrinterStatus() const override { return false; }
    ByteBlock requestCommands() const override;
    void beginPoll() override { statusDone_ = storedDataDone_ = false; }
    void handlePrinterStatus(const OrvoPrinterStatus&, PendingEvents&) override {}
    bool handleResponse(ByteView reply, PendingEvents& events) override;
    PendingEvent errorEvent(const Prelix10Error& error) override;

private:
    std::weak_ptr<InputDeviceDelegate> delegate_;
    InputDeviceStatusParser statusParser_;
    InputDeviceStoredDataParser storedDataParser_;
    std::optional<bool> isConnected_;
    // A part that completed in this poll is not run again, so its event is raised at most once per poll.
    bool statusDone_ = false;
    bool storedDataDone_ = false;
};

class DisplayDelegateManager final : public DelegateManager {
public:
    explicit DisplayDelegateManager(std::weak_ptr<DisplayDelegate> delegate) : delegate_(std::move(delegate)) {}
    void setDelegate(std::weak_ptr<DisplayDelegate> delegate) { delegate_ = std::move(delegate); }
    bool hasDelegate() const { return !delegate_.expired(); }
    bool needPrinterStatus() const override { return false; }
    ByteBlock requestCommands() const override { return DisplayCommand::Kestrin::statusRequest(); }
    void beginPoll() override { statusDone_ = false; }
    void handlePrinterStatus(const OrvoPrinterStatus&, PendingEvents&) override {}
    bool handleResponse(ByteView reply, PendingEvents& events) override;
    PendingEvent errorEvent(const Prelix10Error& error) override;

private:
    std::weak_ptr<DisplayDelegate> delegate_;
    DisplayStatusParser statusParser_;
    std::optional<bool> isConnected_;
    bool statusDone_ = false;
};

}  // namespace Prelix10
