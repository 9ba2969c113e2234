#include "prelix10/capi/StatusFace.hpp"

#include <nlohmann/json.hpp>

#include "prelix10/capi/CApiSupport.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace Prelix10::CApi {

std::string detailJson(const OrvoPrinterStatusDetail* detail) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    if (detail != nullptr) {
        for (const auto& [name, value] : detail->getAllProperties()) {
            nlohmann::ordered_json entry;
            if (const auto* flag = std::get_if<std::shared_ptr<NullableBool>>(&value); flag && *flag) {
                entry = (*flag)->value;
            } else if (const auto* number = std::get_if<std::shared_ptr<NullableInt>>(&value);
                       number && *number) {
                entry = (*number)->value;
            } else if (const auto* method = std::get_if<std::shared_ptr<NullableDrawerOpenedMethod>>(&value);
                       method && *method) {
                entry = static_cast<int>((*method)->value);
            }
            object[name] = std::move(entry);
        }
    }
    return object.dump();
}

}  // namespace Prelix10::CApi

namespace {
const OrvoPrinterStatus& statusOf(const prelix10_status* handle) {
    const auto& checkedHandle = checked(handle, "status");
    if (!checkedHandle.status) throw argumentError("Invalid handle: status.");
    return *checkedHandle.status;
}
}  // namespace

extern "C" {

int prelix10_status_get_flags(const prelix10_status* status, prelix10_status_flags* flags,
                              prelix10_error** error) {
    return guarded(error, [&] {
        const auto& object = statusOf(status);
        if (flags == nullptr) throw argumentError("Invalid argument: flags is NULL.");
        flags->has_error = object.hasError() ? 1 : 0;
        flags->cover_open = object.coverOpen() ? 1 : 0;
        flags->drawer_open_close_signal = object.drawerOpenCloseSignal() ? 1 : 0;
        flags->paper_empty = object.paperEmpty() ? 1 : 0;
        flags->paper_near_empty = object.paperNearEmpty() ? 1 : 0;
    });
}

char* prelix10_status_description(const prelix10_status* status, prelix10_error** error) {
    return guardedValue<char*>(error, nullptr, [&] {
        return ownedText(statusOf(status).description());
    });
}

char* prelix10_status_detail_json(const prelix10_status* status, prelix10_error** error) {
    return guardedValue<char*>(error, nullptr, [&] {
        return ownedText(detailJson(statusOf(status).detail().get()));
    });
}

prelix10_status* prelix10_status_copy(const prelix10_status* status, prelix10_error** error) {
    return guardedValue<prelix10_status*>(error, nullptr, [&] {
        const auto& checkedHandle = checked(status, "status");
        return newHandle<prelix10_status>(checkedHandle.status);
    });
}

void prelix10_status_release(prelix10_status* status) {
    const auto object = lookup(status);
    if (object && !object->borrowed) releaseHandle(status);
}

}  // extern "C"
