#include "prelix10/core/OrvoPrinterStatus.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

OrvoPrinterStatus::Builder::Builder()
    : detailInternal(std::make_shared<const OrvoPrinterStatusDetailInternal>(OrvoPrinterStatusDetailInternal::Builder())) {}

OrvoPrinterStatus::Builder::Builder(const OrvoPrinterStatus& status)
    : hasError(status.hasError_),
      coverOpen(status.coverOpen_),
      drawerOpenCloseSignal(status.drawerOpenCloseSignal_),
      paperEmpty(status.paperEmpty_),
      paperNearEmpty(status.paperNearEmpty_),
      detailInternal(status.detailInternal_) {}

OrvoPrinterStatus::OrvoPrinterStatus(const Builder& builder)
    : hasError_(builder.hasError),
      coverOpen_(builder.coverOpen),
      drawerOpenCloseSignal_(builder.drawerOpenCloseSignal),
      paperEmpty_(builder.paperEmpty),
      paperNearEmpty_(builder.paperNearEmpty),
      // The detail is never absent: a builder whose detail was cleared gets an empty one.
      detailInternal_(builder.detailInternal ? builder.detailInternal
                                             : std::make_shared<const OrvoPrinterStatusDetailInternal>(
                                                   OrvoPrinterStatusDetailInternal::Builder())) {}

std::string OrvoPrinterStatus::description() const {
    return PropertyDescription()
        .add("hasError", hasError_)
        .add("coverOpen", coverOpen_)
        .add("drawerOpenCloseSignal", drawerOpenCloseSignal_)
        .add("paperEmpty", paperEmpty_)
        .add("paperNearEmpty", paperNearEmpty_)
        .add("detailInternal", *detailInternal_)
        .text();
}

}  // namespace Prelix10
