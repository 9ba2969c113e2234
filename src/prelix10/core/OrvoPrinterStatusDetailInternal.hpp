#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "prelix10/core/DrawerOpenedMethod.hpp"
#include "prelix10/core/Nullable.hpp"

namespace Prelix10 {

// The 38 items of the detailed status, in order: X(type, name, wrapped), where wrapped is 1 for the items
// that have a nullable property of their own.
#define PRELIX10_STATUS_DETAIL_ITEMS(X)                      \
    X(std::int64_t, version, 0)                              \
    X(bool, printHeadOverTemperature, 1)                     \
    X(bool, unrecoverableError, 1)                           \
    X(bool, cutterError, 1)                                  \
    X(bool, printHeadThermistorError, 1)                     \
    X(bool, receiveBufferOverflow, 1)                        \
    X(bool, paperSeparatorError, 1)                          \
    X(bool, paperJamError, 1)                                \
    X(bool, voltageError, 1)                                 \
    X(bool, rollPositionError, 1)                            \
    X(bool, paperPresent, 1)                                 \
    X(std::int64_t, etbCounter, 0)                           \
    X(bool, boardOverTemperature, 0)                         \
    X(bool, drawerOpenError, 1)                              \
    X(bool, flashAccessError, 0)                             \
    X(bool, eepromAccessError, 0)                            \
    X(bool, sramAccessError, 0)                              \
    X(bool, boardThermistorError, 0)                         \
    X(bool, sensorAdjustmentError, 0)                        \
    X(bool, printUnitOpen, 1)                                \
    X(std::int64_t, connectedInterface, 0)                   \
    X(DrawerOpenedMethod, drawer1OpenedMethod, 1)            \
    X(bool, drawer1OpenCloseSignal, 1)                       \
    X(DrawerOpenedMethod, drawer2OpenedMethod, 1)            \
    X(bool, drawer2OpenCloseSignal, 1)                       \
    X(DrawerOpenedMethod, drawer3OpenedMethod, 1)            \
    X(bool, drawer3OpenCloseSignal, 1)                       \
    X(DrawerOpenedMethod, drawer4OpenedMethod, 1)            \
    X(bool, drawer4OpenCloseSignal, 1)                       \
    X(bool, externalDevice1Connected, 1)                     \
    X(bool, externalDevice2Connected, 1)                     \
    X(bool, externalDevice3Connected, 1)                     \
    X(bool, externalDevice4Connected, 1)                     \
    X(bool, partsReplacementNotification, 1)                 \
    X(bool, cleaningNotification, 1)                         \
    X(std::int64_t, detectedPaperWidth, 1)                   \
    X(bool, externalDevice12Ready, 0)                        \
    X(bool, externalDevice34Ready, 0)

// The app-facing view of the detailed status: a fresh wrapper per read, null for an item without a value.
class PRELIX10_EXPORT OrvoPrinterStatusDetail {
public:
    virtual ~OrvoPrinterStatusDetail() = default;

    virtual std::shared_ptr<NullableBool> nullableCutterError() const = 0;
    virtual std::shared_ptr<NullableBool> nullablePaperSeparatorError() const = 0;
    virtual std::shared_ptr<NullableBool> nullablePaperJamError() const = 0;
    virtual std::shared_ptr<NullableBool> nullableRollPositionError() const = 0;
    virtual std::shared_ptr<NullableBool> nullablePaperPresent() const = 0;
    virtual std::shared_ptr<NullableBool> nullableDrawerOpenError() const = 0;
    virtual std::shared_ptr<NullableBool> nullablePrintUnitOpen() const = 0;
    virtual std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer1OpenedMethod() const = 0;
    virtual std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer2OpenedMethod() const = 0;
    virtual std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer3OpenedMethod() const = 0;
    virtual std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer4OpenedMethod() const = 0;
    virtual std::shared_ptr<NullableBool> nullableDrawer1OpenCloseSignal() const = 0;
    virtual std::shared_ptr<NullableBool> nullableDrawer2OpenCloseSignal() const = 0;
    virtual std::shared_ptr<NullableBool> nullableDrawer3OpenCloseSignal() const = 0;
    virtual std::shared_ptr<NullableBool> nullableDrawer4OpenCloseSignal() const = 0;
    virtual std::shared_ptr<NullableBool> nullableExternalDevice1Connected() const = 0;
    virtual std::shared_ptr<NullableBool> nullableExternalDevice2Connected() const = 0;
    virtual std::shared_ptr<NullableBool> nullableExternalDevice3Connected() const = 0;
    virtual std::shared_ptr<NullableBool> nullableExternalDevice4Connected() const = 0;
    virtual std::shared_ptr<NullableBool> nullablePartsReplacementNotification() const = 0;
    virtual std::shared_ptr<NullableBool> nullableCleaningNotification() const = 0;
    virtual std::shared_ptr<NullableInt> nullableDetectedPaperWidth() const = 0;
    virtual std::shared_ptr<NullableBool> nullablePrintHeadOverTemperature() const = 0;
    virtual std::shared_ptr<NullableBool> nullableUnrecoverableError() const = 0;
    virtual std::shared_ptr<NullableBool> nullablePrintHeadThermistorError() const = 0;
    virtual std::shared_ptr<NullableBool> nullableReceiveBufferOverflow() const = 0;
    virtual std::shared_ptr<NullableBool> nullableVoltageError() const = 0;

    // One entry per item (38), keyed by the item's name; an item without a value maps to null.
    virtual std::map<std::string, NullableValue> getAllProperties() const = 0;
};

// The detailed status: every item optional (no value = not reported). Immutable; made only from a builder.
class PRELIX10_EXPORT OrvoPrinterStatusDetailInternal final : public OrvoPrinterStatusDetail {
public:
    struct Items {
#define PRELIX10_DECLARE_ITEM(type, name, wrapped) std::optional<type> name;
        PRELIX10_STATUS_DETAIL_ITEMS(PRELIX10_DECLARE_ITEM)
#undef PRELIX10_DECLARE_ITEM
    };

    // Mutable, every item without a value at first; used by one status parser at a time.
    class Builder : public Items {
    public:
        Builder() = default;
        explicit Builder(const OrvoPrinterStatusDetailInternal& detail) : Items(detail.items_) {}
    };

    explicit OrvoPrinterStatusDetailInternal(const Builder& builder) : items_(builder) {}

#define PRELIX10_DECLARE_GETTER(type, name, wrapped) \
    const std::optional<type>& name() const { return items_.name; }
    PRELIX10_STATUS_DETAIL_ITEMS(PRELIX10_DECLARE_GETTER)
#undef PRELIX10_DECLARE_GETTER

    std::shared_ptr<NullableBool> nullableCutterError() const override;
    std::shared_ptr<NullableBool> nullablePaperSeparatorError() const override;
    std::shared_ptr<NullableBool> nullablePaperJamError() const override;
    std::shared_ptr<NullableBool> nullableRollPositionError() const override;
    std::shared_ptr<NullableBool> nullablePaperPresent() const override;
    std::shared_ptr<NullableBool> nullableDrawerOpenError() const override;
    std::shared_ptr<NullableBool> nullablePrintUnitOpen() const override;
    std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer1OpenedMethod() const override;
    std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer2OpenedMethod() const override;
    std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer3OpenedMethod() const override;
    std::shared_ptr<NullableDrawerOpenedMethod> nullableDrawer4OpenedMethod() const override;
    std::shared_ptr<NullableBool> nullableDrawer1OpenCloseSignal() const override;
    std::shared_ptr<NullableBool> nullableDrawer2OpenCloseSignal() const override;
    std::shared_ptr<NullableBool> nullableDrawer3OpenCloseSignal() const override;
    std::shared_ptr<NullableBool> nullableDrawer4OpenCloseSignal() const override;
    std::shared_ptr<NullableBool> nullableExternalDevice1Connected() const override;
    std::shared_ptr<NullableBool> nullableExternalDevice2Connected() const override;
    std::shared_ptr<NullableBool> nullableExternalDevice3Connected() const override;
    std::shared_ptr<NullableBool> nullableExternalDevice4Connected() const override;
    std::shared_ptr<NullableBool> nullablePartsReplacementNotification() const override;
    std::shared_ptr<NullableBool> nullableCleaningNotification() const override;
    std::shared_ptr<NullableInt> nullableDetectedPaperWidth() const override;
    std::shared_ptr<NullableBool> nullablePrintHeadOverTemperature() const override;
    std::shared_ptr<NullableBool> nullableUnrecoverableError() const override;
    std::shared_ptr<NullableBool> nullablePrintHeadThermistorError() const override;
    std::shared_ptr<NullableBool> nullableReceiveBufferOverflow() const override;
    std::shared_ptr<NullableBool> nullableVoltageError() const override;

    std::map<std::string, NullableValue> getAllProperties() const override;

    // "version : nil, printHeadOverTemperature : Optional(true), ..." over the 38 items in order.
    std::string description() const;

private:
    Items items_;
};

}  // namespace Prelix10
