#pragma once

#include "prelix10/core/Export.hpp"
#include <map>
#include <memory>
#include <string>

#include "prelix10/core/OrvoPrinterStatusDetailInternal.hpp"

namespace Prelix10 {

// An immutable snapshot of a printer's state: five summary flags and the detailed status. Made only from a
// builder; safe to read from any thread.
class PRELIX10_EXPORT OrvoPrinterStatus {
public:
    // Mutable; a new one reports an error (hasError true), the other flags false and an empty detail.
    class Builder {
    public:
        Builder();
        explicit Builder(const OrvoPrinterStatus& status);

        bool hasError = true;
        bool coverOpen = false;
        bool drawerOpenCloseSignal = false;
        bool paperEmpty = false;
        bool paperNearEmpty = false;
        std::shared_ptr<const OrvoPrinterStatusDetailInternal> detailInternal;
    };

    // Copies the flags and the detail reference; later changes to the builder do not reach the status.
    explicit OrvoPrinterStatus(const Builder& builder);

    bool hasError() const { return hasError_; }
    bool coverOpen() const { return coverOpen_; }
    bool drawerOpenCloseSignal() const { return drawerOpenCloseSignal_; }
    bool paperEmpty() const { return paperEmpty_; }
    bool paperNearEmpty() const { return paperNearEmpty_; }
    const std::shared_ptr<const OrvoPrinterStatusDetailInternal>& detailInternal() const { return detailInternal_; }
    // The same object as detailInternal, as the app-facing view.
    std::shared_ptr<const OrvoPrinterStatusDetail> detail() const { return detailInternal_; }
    // Built anew at each read: the detail's getAllProperties.
    std::map<std::string, NullableValue> reserved() const { return detailInternal_->getAllProperties(); }

    std::string description() const;

private:
    bool hasError_;
    bool coverOpen_;
    bool drawerOpenCloseSignal_;
    bool paperEmpty_;
    bool paperNearEmpty_;
    std::shared_ptr<const OrvoPrinterStatusDetailInternal> detailInternal_;
};

}  // namespace Prelix10
