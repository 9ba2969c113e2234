#include <cstring>
#include <limits>
#include <span>

#include "prelix10/capi/CApiHandles.hpp"
#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/capi/StatusFace.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/printer/DelegateManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace Prelix10::CApi {

class PrinterDelegateBridge final : public PrinterDelegate {
  public:
    explicit PrinterDelegateBridge(prelix10_printer* handle) : handle_(handle) {}
    CallbackTable<prelix10_printer_delegate> table;

    void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error& error) override {
        table.invoke([&](const prelix10_printer_delegate& t) {
            if (t.communication_error_did_occur == nullptr) return;
            const BorrowedError record(error);
            t.communication_error_did_occur(t.context, handle_, record.get());
        });
    }
    void printerIsReady(OrvoPrinter&) override { raise(&prelix10_printer_delegate::printer_is_ready); }
    void printerDidHaveError(OrvoPrinter&) override {
        raise(&prelix10_printer_delegate::printer_did_have_error);
    }
    void printerIsPaperReady(OrvoPrinter&) override {
        raise(&prelix10_printer_delegate::printer_is_paper_ready);
    }
    void printerIsPaperNearEmpty(OrvoPrinter&) override {
        raise(&prelix10_printer_delegate::printer_is_paper_near_empty);
    }
    void printerIsPaperEmpty(OrvoPrinter&) override {
        raise(&prelix10_printer_delegate::printer_is_paper_empty);
    }
    void printerIsCoverOpen(OrvoPrinter&) override {
        raise(&prelix10_printer_delegate::printer_is_cover_open);
    }
    void printerIsCoverClose(OrvoPrinter&) override {
        raise(&prelix10_printer_delegate::printer_is_cover_close);
    }

  private:
    using Event = void (*)(void*, prelix10_printer*);
    void raise(Event prelix10_printer_delegate::*event) {
        table.invoke([&](const prelix10_printer_delegate& t) {
            if (t.*event != nullptr) (t.*event)(t.context, handle_);
        });
    }
    prelix10_printer* const handle_;
};

class DrawerDelegateBridge final : public DrawerDelegate {
  public:
    explicit DrawerDelegateBridge(prelix10_printer* handle) : handle_(handle) {}
    CallbackTable<prelix10_drawer_delegate> table;

    void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error& error) override {
        table.invoke([&](const prelix10_drawer_delegate& t) {
            if (t.communication_error_did_occur == nullptr) return;
            const BorrowedError record(error);
            t.communication_error_did_occur(t.context, handle_, record.get());
        });
    }
    void drawerDidSwitch(OrvoPrinter&, bool openCloseSignal) override {
        table.invoke([&](const prelix10_drawer_delegate& t) {
            if (t.did_switch != nullptr) t.did_switch(t.context, handle_, openCloseSignal ? 1 : 0);
        });
    }
    void drawerDidSwitchStatusDetails(OrvoPrinter&,
                                      std::shared_ptr<const OrvoPrinterStatusDetail> detail) override {
        table.invoke([&](const prelix10_drawer_delegate& t) {
            if (t.did_switch_status_details == nullptr) return;
            const std::string json = detailJson(detail.get());
            t.did_switch_status_details(t.context, handle_, json.c_str());
        });
    }

  private:
    prelix10_printer* const handle_;
};

class InputDeviceDelegateBridge final : public InputDeviceDelegate {
  public:
    explicit InputDeviceDelegateBridge(prelix10_printer* handle) : handle_(handle) {}
    CallbackTable<prelix10_input_device_delegate> table;

    void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error& error) override {
        table.invoke([&](const prelix10_input_device_delegate& t) {
            if (t.communication_error_did_occur == nullptr) return;
            const BorrowedError record(error);
            t.communication_error_did_occur(t.context, handle_, record.get());
        });
    }
    void inputDeviceDidConnect(OrvoPrinter&) override {
        table.invoke([&](const prelix10_input_device_delegate& t) {
            if (t.did_connect != nullptr) t.did_connect(t.context, handle_);
        });
    }
    void inputDeviceDidDisconnect(OrvoPrinter&) override {
        table.invoke([&](const prelix10_input_device_delegate& t) {
            if (t.did_disconnect != nullptr) t.did_disconnect(t.context, handle_);
        });
    }
    void inputDeviceDidReceive(OrvoPrinter&, const ByteBlock& data) override {
        table.invoke([&](const prelix10_input_device_delegate& t) {
            if (t.did_receive != nullptr) t.did_receive(t.context, handle_, data.data(), data.size());
        });
    }

  private:
    prelix10_printer* const handle_;
};

class DisplayDelegateBridge final : public DisplayDelegate {
  public:
    explicit DisplayDelegateBridge(prelix10_printer* handle) : handle_(handle) {}
    CallbackTable<prelix10_display_delegate> table;

    void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error& error) override {
        table.invoke([&](const prelix10_display_delegate& t) {
            if (t.communication_error_did_occur == nullptr) return;
            const BorrowedError record(error);
            t.communication_error_did_occur(t.context, handle_, record.get());
        });
    }
    void displayDidConnect(OrvoPrinter&) override {
        table.invoke([&](const prelix10_display_delegate& t) {
            if (t.did_connect != nullptr) t.did_connect(t.context, handle_);
        });
    }
    void displayDidDisconnect(OrvoPrinter&) override {
        table.invoke([&](const prelix10_display_delegate& t) {
            if (t.did_disconnect != nullptr) t.did_disconnect(t.context, handle_);
        });
    }

  private:
    prelix10_printer* const handle_;
};

void clearDelegates(prelix10_printer& handle) noexcept {
    if (!handle.delegates) return;
    try {
        if (handle.printer) {
            handle.printer->setPrinterDelegate({});
            handle.printer->setDrawerDelegate({});
            handle.printer->setInputDeviceDelegate({});
            handle.printer->setDisplayDelegate({});
        }
    } catch (...) {
    }
    auto& bridges = *handle.delegates;
    if (bridges.printer) bridges.printer->table.set(nullptr);
    if (bridges.drawer) bridges.drawer->table.set(nullptr);
    if (bridges.inputDevice) bridges.inputDevice->table.set(nullptr);
    if (bridges.display) bridges.display->table.set(nullptr);
}

}  // namespace Prelix10::CApi

prelix10_printer::prelix10_printer(std::shared_ptr<OrvoPrinter> object)
    : printer(std::move(object)), delegates(std::make_unique<PrinterDelegateBridges>()) {}

prelix10_printer::~prelix10_printer() {
    clearDelegates(*this);
}

OrvoPrinter& Prelix10::CApi::printerOf(const prelix10_printer* handle) {
    const auto& checkedHandle = checked(handle, "printer");
    if (!checkedHandle.printer) throw argumentError("Invalid handle: printer.");
    return *checkedHandle.printer;
}

namespace {

ByteBlock bytesFrom(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr && size != 0) throw argumentError("Invalid argument: data is NULL.");
    return size == 0 ? ByteBlock() : ByteBlock(data, data + size);
}

// The C form of spool job records: the strings point into the C++ records, which outlive the callback.
prelix10_spool_job_status jobRecord(const OrvoSpoolJobStatus& job) {
    prelix10_spool_job_status out{};
    out.job_id = job.jobId();
    out.job_state = static_cast<int>(job.jobState());
    out.elapsed_time = job.elapsedTime();
    out.job_received_interface = static_cast<int>(job.jobReceivedInterface());
    out.app_info = job.appInfo().c_str();
    out.host_model = job.hostModel().c_str();
    out.host_os = job.hostOS().c_str();
    out.host_ip_address = job.hostIpAddress().c_str();
    out.job_settings.is_retry_enabled = job.jobSettings().isRetryEnabled() ? 1 : 0;
    out.job_settings.timeout = job.jobSettings().timeout();
    out.job_settings.note = job.jobSettings().note().c_str();
    return out;
}

template <typename Bridge, typename Table, typename Setter>
void setDelegateTable(prelix10_printer* handle, std::shared_ptr<Bridge> PrinterDelegateBridges::*slot,
                      const Table* table, Setter setter) {
    auto& checkedHandle = checked(handle, "printer");
    if (!checkedHandle.printer || !checkedHandle.delegates) throw argumentError("Invalid handle: printer.");
    auto& bridge = (*checkedHandle.delegates).*slot;
    if (table == nullptr) {
        // The printer lets go first, so the monitor stops asking for this delegate's replies.
        setter(*checkedHandle.printer, std::weak_ptr<Bridge>());
        if (bridge) bridge->table.set(nullptr);
        return;
    }
    if (!bridge) bridge = std::make_shared<Bridge>(handle);
    bridge->table.set(table);
    setter(*checkedHandle.printer, std::weak_ptr<Bridge>(bridge));
}

// A completion that reports a text or an error.
OrvoPrinter::ConfigurationCompletion textCompletion(prelix10_string_completion completion, void* context) {
    return [completion, context](std::optional<std::string> text, std::optional<Prelix10Error> failure) {
        if (completion == nullptr) return;
        const BorrowedError record(failure);
        callOut([&] { completion(context, text ? text->c_str() : nullptr, record.get()); });
    };
}

}  // namespace

extern "C" {

prelix10_printer* prelix10_printer_create(int interface_type, const char* identifier,
                                          int auto_switch_interface, prelix10_error** error) {
    return guardedValue<prelix10_printer*>(error, nullptr, [&] {
        const auto type = InterfaceTypes::fromRawValue(interface_type);
        if (!type) throw argumentError("Invalid argument: interface_type.");
        auto printer = OrvoPrinter::create(
            OrvoConnectionSettings(*type, textFrom(identifier, "identifier"), auto_switch_interface != 0));
        return newHandle<prelix10_printer>(std::move(printer));
    });
}

void prelix10_printer_release(prelix10_printer* printer) {
    releaseHandle(printer);
}

int prelix10_printer_get_interface_type(const prelix10_printer* printer, int* interface_type,
                                        prelix10_error** error) {
    return guarded(error, [&] {
        const auto& object = printerOf(printer);
        required(interface_type, "interface_type") =
            static_cast<int>(object.connectionSettings().interfaceType());
    });
}

char* prelix10_printer_get_identifier(const prelix10_printer* printer, prelix10_error** error) {
    return guardedValue<char*>(
        error, nullptr, [&] { return ownedText(printerOf(printer).connectionSettings().identifier()); });
}

int prelix10_printer_get_timeout(const prelix10_printer* printer, int which, int* milliseconds,
                                 prelix10_error** error) {
    return guarded(error, [&] {
        const auto& object = printerOf(printer);
        int& out = required(milliseconds, "milliseconds");
        switch (which) {
            case PRELIX10_TIMEOUT_OPEN:
                out = object.openTimeout();
                return;
            case PRELIX10_TIMEOUT_GET_STATUS:
                out = object.getStatusTimeout();
                return;
            case PRELIX10_TIMEOUT_PRINT:
                out = object.printTimeout();
                return;
            case PRELIX10_TIMEOUT_CONFIGURATION:
                out = object.orvoConfigurationTimeout();
                return;
        }
        throw argumentError("Invalid argument: which.");
    });
}

int prelix10_printer_set_timeout(prelix10_printer* printer, int which, int milliseconds,
                                 prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        switch (which) {
            case PRELIX10_TIMEOUT_OPEN:
                object.setOpenTimeout(milliseconds);
                return;
            case PRELIX10_TIMEOUT_GET_STATUS:
                object.setGetStatusTimeout(milliseconds);
                return;
            case PRELIX10_TIMEOUT_PRINT:
                object.setPrintTimeout(milliseconds);
                return;
            case PRELIX10_TIMEOUT_CONFIGURATION:
                object.setOrvoConfigurationTimeout(milliseconds);
                return;
        }
        throw argumentError("Invalid argument: which.");
    });
}

int prelix10_printer_set_template(prelix10_printer* printer, const char* template_document,
                                  prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        object.setPrintTemplate(template_document ? std::optional<std::string>(template_document)
                                                  : std::nullopt);
    });
}

int prelix10_printer_get_template(const prelix10_printer* printer, char** template_document,
                                  prelix10_error** error) {
    return guarded(error, [&] {
        const auto& object = printerOf(printer);
        char*& out = required(template_document, "template_document");
        out = nullptr;
        if (const auto text = object.printTemplate()) {
            out = ownedText(*text);
        }
    });
}

int prelix10_printer_get_model(const prelix10_printer* printer, int* model, prelix10_error** error) {
    return guarded(error, [&] {
        const auto record = printerOf(printer).informationRecord();
        required(model, "model") = static_cast<int>(record ? record->model : OrvoPrinterModel::unknown);
    });
}

char* prelix10_printer_get_model_name(const prelix10_printer* printer, prelix10_error** error) {
    return guardedValue<char*>(error, nullptr, [&] {
        const auto record = printerOf(printer).informationRecord();
        return ownedText(PrinterModels::description(record ? record->model : OrvoPrinterModel::unknown));
    });
}

int prelix10_printer_get_emulation(const prelix10_printer* printer, int* emulation, prelix10_error** error) {
    return guarded(error, [&] {
        const auto record = printerOf(printer).informationRecord();
        required(emulation, "emulation") =
            static_cast<int>(record ? record->emulation : OrvoPrinterEmulation::unknown);
    });
}

int prelix10_printer_get_ip_address(const prelix10_printer* printer, char** ip_address,
                                    prelix10_error** error) {
    return guarded(error, [&] {
        const auto information = printerOf(printer).information();
        char*& out = required(ip_address, "ip_address");
        out = nullptr;
        if (!information) return;
        const auto detail = information->detail();
        if (detail.lan && detail.lan->ipAddress) {
            out = ownedText(*detail.lan->ipAddress);
        }
    });
}

int prelix10_printer_is_opened(const prelix10_printer* printer, int* opened, prelix10_error** error) {
    return guarded(error, [&] {
        const auto& object = printerOf(printer);
        required(opened, "opened") = object.isOpened() ? 1 : 0;
    });
}

char* prelix10_printer_description(const prelix10_printer* printer, prelix10_error** error) {
    return guardedValue<char*>(error, nullptr, [&] { return ownedText(printerOf(printer).description()); });
}

int prelix10_printer_open(prelix10_printer* printer, prelix10_completion completion, void* context,
                          prelix10_error** error) {
    return guarded(error, [&] { printerOf(printer).open(errorCompletion(completion, context)); });
}

int prelix10_printer_close(prelix10_printer* printer, prelix10_void_completion completion, void* context,
                           prelix10_error** error) {
    return guarded(error, [&] {
        printerOf(printer).close([completion, context] {
            if (completion != nullptr) callOut([&] { completion(context); });
        });
    });
}

int prelix10_printer_write(prelix10_printer* printer, const uint8_t* data, size_t size, int timeout,
                           prelix10_completion completion, void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        object.write(bytesFrom(data, size), timeout, errorCompletion(completion, context));
    });
}

int prelix10_printer_read(prelix10_printer* printer, int size, prelix10_bytes_completion completion,
                          void* context, prelix10_error** error) {
    return guarded(error, [&] {
        printerOf(printer).read(
            size, [completion, context](std::optional<ByteBlock> data, std::optional<Prelix10Error> failure) {
                if (completion == nullptr) return;
                const BorrowedError record(failure);
                // An empty block is still a block: a non-null pointer with size 0.
                static const std::uint8_t empty = 0;
                const std::uint8_t* bytes = data ? (data->empty() ? &empty : data->data()) : nullptr;
                callOut([&] { completion(context, bytes, data ? data->size() : 0, record.get()); });
            });
    });
}

int prelix10_printer_print_raw(prelix10_printer* printer, const uint8_t* data, size_t size,
                               prelix10_completion completion, void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        object.print(bytesFrom(data, size), errorCompletion(completion, context));
    });
}

int prelix10_printer_print_command(prelix10_printer* printer, const char* command,
                                   prelix10_completion completion, void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        object.print(textFrom(command, "command"), errorCompletion(completion, context));
    });
}

int prelix10_printer_spool_print(prelix10_printer* printer, const char* command,
                                 const prelix10_spool_job_settings* settings,
                                 prelix10_int_completion completion, void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        const auto& given = required(settings, "settings");
        OrvoSpoolJobSettings jobSettings(given.is_retry_enabled != 0, given.timeout,
                                         given.note ? given.note : "");
        object.print(textFrom(command, "command"), std::move(jobSettings),
                     [completion, context](std::int64_t jobId, std::optional<Prelix10Error> failure) {
                         if (completion == nullptr) return;
                         const BorrowedError record(failure);
                         callOut([&] { completion(context, failure ? -1 : jobId, record.get()); });
                     });
    });
}

int prelix10_printer_get_status(prelix10_printer* printer, prelix10_status_completion completion,
                                void* context, prelix10_error** error) {
    return guarded(error, [&] {
        printerOf(printer).getStatus([completion, context](std::shared_ptr<const OrvoPrinterStatus> status,
                                                           std::optional<Prelix10Error> failure) {
            if (completion == nullptr) return;
            const BorrowedError record(failure);
            std::unique_ptr<BorrowedHandle<prelix10_status>> handle;
            try {
                if (status)
                    handle = std::make_unique<BorrowedHandle<prelix10_status>>(std::move(status), true);
            } catch (...) {
                const BorrowedError outOfMemory(Prelix10Error(Prelix10ErrorKind::unknown, "Unknown Error."));
                callOut([&] { completion(context, nullptr, outOfMemory.get()); });
                return;
            }
            callOut([&] { completion(context, handle ? handle->get() : nullptr, record.get()); });
        });
    });
}

int prelix10_printer_get_spool_job_status(prelix10_printer* printer, int64_t job_id,
                                          prelix10_spool_job_status_completion completion, void* context,
                                          prelix10_error** error) {
    return guarded(error, [&] {
        printerOf(printer).getSpoolJobStatus(
            job_id, [completion, context](std::optional<OrvoSpoolJobStatus> job,
                                          std::optional<Prelix10Error> failure) {
                if (completion == nullptr) return;
                const BorrowedError record(failure);
                if (job) {
                    const prelix10_spool_job_status out = jobRecord(*job);
                    callOut([&] { completion(context, &out, record.get()); });
                } else {
                    callOut([&] { completion(context, nullptr, record.get()); });
                }
            });
    });
}

int prelix10_printer_get_spool_job_status_list(prelix10_printer* printer, int64_t size,
                                               prelix10_spool_job_status_list_completion completion,
                                               void* context, prelix10_error** error) {
    return guarded(error, [&] {
        printerOf(printer).getSpoolJobStatusList(
            size, [completion, context](std::optional<std::vector<OrvoSpoolJobStatus>> jobs,
                                        std::optional<Prelix10Error> failure) {
                if (completion == nullptr) return;
                const BorrowedError record(failure);
                std::vector<prelix10_spool_job_status> out;
                try {
                    if (jobs) {
                        out.reserve(jobs->size());
                        for (const auto& job : *jobs) out.push_back(jobRecord(job));
                    }
                } catch (...) {
                    const BorrowedError outOfMemory(
                        Prelix10Error(Prelix10ErrorKind::unknown, "Unknown Error."));
                    callOut([&] { completion(context, nullptr, 0, outOfMemory.get()); });
                    return;
                }
                // An empty list is still a list: a non-null pointer with count 0.
                static const prelix10_spool_job_status none{};
                const prelix10_spool_job_status* first = jobs ? (out.empty() ? &none : out.data()) : nullptr;
                callOut([&] { completion(context, first, out.size(), record.get()); });
            });
    });
}

int prelix10_printer_set_configuration(prelix10_printer* printer, const char* configuration,
                                       prelix10_int_completion completion, void* context,
                                       prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        object.setOrvoConfiguration(
            textFrom(configuration, "configuration"),
            [completion, context](OrvoConfigurationSetResult result, std::optional<Prelix10Error> failure) {
                if (completion == nullptr) return;
                const BorrowedError record(failure);
                callOut([&] { completion(context, static_cast<int>(result), record.get()); });
            });
    });
}

int prelix10_printer_get_configuration(prelix10_printer* printer, const char* password,
                                       prelix10_string_completion completion, void* context,
                                       prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        object.getOrvoConfiguration(password ? std::optional<std::string>(password) : std::nullopt,
                                    textCompletion(completion, context));
    });
}

int prelix10_printer_get_default_configuration(prelix10_printer* printer,
                                               prelix10_string_completion completion, void* context,
                                               prelix10_error** error) {
    return guarded(
        error, [&] { printerOf(printer).getDefaultOrvoConfiguration(textCompletion(completion, context)); });
}

int prelix10_printer_set_printer_delegate(prelix10_printer* printer,
                                          const prelix10_printer_delegate* delegate, prelix10_error** error) {
    return guarded(error, [&] {
        setDelegateTable(
            printer, &PrinterDelegateBridges::printer, delegate,
            [](OrvoPrinter& object, std::weak_ptr<PrinterDelegate> d) { object.setPrinterDelegate(d); });
    });
}

int prelix10_printer_set_drawer_delegate(prelix10_printer* printer, const prelix10_drawer_delegate* delegate,
                                         prelix10_error** error) {
    return guarded(error, [&] {
        setDelegateTable(
            printer, &PrinterDelegateBridges::drawer, delegate,
            [](OrvoPrinter& object, std::weak_ptr<DrawerDelegate> d) { object.setDrawerDelegate(d); });
    });
}

int prelix10_printer_set_input_device_delegate(prelix10_printer* printer,
                                               const prelix10_input_device_delegate* delegate,
                                               prelix10_error** error) {
    return guarded(error, [&] {
        setDelegateTable(printer, &PrinterDelegateBridges::inputDevice, delegate,
                         [](OrvoPrinter& object, std::weak_ptr<InputDeviceDelegate> d) {
                             object.setInputDeviceDelegate(d);
                         });
    });
}

int prelix10_printer_set_display_delegate(prelix10_printer* printer,
                                          const prelix10_display_delegate* delegate, prelix10_error** error) {
    return guarded(error, [&] {
        setDelegateTable(
            printer, &PrinterDelegateBridges::display, delegate,
            [](OrvoPrinter& object, std::weak_ptr<DisplayDelegate> d) { object.setDisplayDelegate(d); });
    });
}

}  // extern "C"
