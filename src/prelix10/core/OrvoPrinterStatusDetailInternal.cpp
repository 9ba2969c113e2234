#include "prelix10/core/OrvoPrinterStatusDetailInternal.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

#define PRELIX10_NULLABLE(name, item) \
    auto OrvoPrinterStatusDetailInternal::name() const -> decltype(makeNullable(items_.item)) { \
        return makeNullable(items_.item);                                                   \
    }

PRELIX10_NULLABLE(nullableCutterError, cutterError)
PRELIX10_NULLABLE(nullablePaperSeparatorError, paperSeparatorError)
PRELIX10_NULLABLE(nullablePaperJamError, paperJamError)
PRELIX10_NULLABLE(nullableRollPositionError, rollPositionError)
PRELIX10_NULLABLE(nullablePaperPresent, paperPresent)
PRELIX10_NULLABLE(nullableDrawerOpenError, drawerOpenError)
PRELIX10_NULLABLE(nullablePrintUnitOpen, printUnitOpen)
PRELIX10_NULLABLE(nullableDrawer1OpenedMethod, drawer1OpenedMethod)
PRELIX10_NULLABLE(nullableDrawer2OpenedMethod, drawer2OpenedMethod)
PRELIX10_NULLABLE(nullableDrawer3OpenedMethod, drawer3OpenedMethod)
PRELIX10_NULLABLE(nullableDrawer4OpenedMethod, drawer4OpenedMethod)
PRELIX10_NULLABLE(nullableDrawer1OpenCloseSignal, drawer1OpenCloseSignal)
PRELIX10_NULLABLE(nullableDrawer2OpenCloseSignal, drawer2OpenCloseSignal)
PRELIX10_NULLABLE(nullableDrawer3OpenCloseSignal, drawer3OpenCloseSignal)
PRELIX10_NULLABLE(nullableDrawer4OpenCloseSignal, drawer4OpenCloseSignal)
PRELIX10_NULLABLE(nullableExternalDevice1Connected, externalDevice1Connected)
PRELIX10_NULLABLE(nullableExternalDevice2Connected, externalDevice2Connected)
PRELIX10_NULLABLE(nullableExternalDevice3Connected, externalDevice3Connected)
PRELIX10_NULLABLE(nullableExternalDevice4Connected, externalDevice4Connected)
PRELIX10_NULLABLE(nullablePartsReplacementNotification, partsReplacementNotification)
PRELIX10_NULLABLE(nullableCleaningNotification, cleaningNotification)
PRELIX10_NULLABLE(nullableDetectedPaperWidth, detectedPaperWidth)
PRELIX10_NULLABLE(nullablePrintHeadOverTemperature, printHeadOverTemperature)
PRELIX10_NULLABLE(nullableUnrecoverableError, unrecoverableError)
PRELIX10_NULLABLE(nullablePrintHeadThermistorError, printHeadThermistorError)
PRELIX10_NULLABLE(nullableReceiveBufferOverflow, receiveBufferOverflow)
PRELIX10_NULLABLE(nullableVoltageError, voltageError)

#undef PRELIX10_NULLABLE

std::map<std::string, NullableValue> OrvoPrinterStatusDetailInternal::getAllProperties() const {
    std::map<std::string, NullableValue> all;
#define PRELIX10_ADD_PROPERTY(type, name, wrapped)                             \
    if (auto wrapper = makeNullable(items_.name)) {                            \
        all[#name] = wrapper;                                                  \
    } else {                                                                   \
        all[#name] = std::monostate{};                                         \
    }
    PRELIX10_STATUS_DETAIL_ITEMS(PRELIX10_ADD_PROPERTY)
#undef PRELIX10_ADD_PROPERTY
    return all;
}

std::string OrvoPrinterStatusDetailInternal::description() const {
    PropertyDescription text;
#define PRELIX10_DESCRIBE_ITEM(type, name, wrapped) text.add(#name, items_.name);
    PRELIX10_STATUS_DETAIL_ITEMS(PRELIX10_DESCRIBE_ITEM)
#undef PRELIX10_DESCRIBE_ITEM
    return text.text();
}

}  // namespace Prelix10
