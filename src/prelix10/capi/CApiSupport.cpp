#include "prelix10/capi/CApiSupport.hpp"

#include <cstdlib>
#include <cstring>
#include <new>

#include "prelix10/core/LibraryVersion.hpp"

namespace Prelix10::CApi {

ErrorRecord::~ErrorRecord() {
    releaseHandle(statusHandle);
}

std::unique_ptr<ErrorRecord> makeErrorRecord(const Prelix10Error& error) {
    const PlatformErrorRecord platform = error.platformRecord();
    auto record = std::make_unique<ErrorRecord>();
    record->domainText = platform.domain;
    record->messageText = platform.message;
    record->code = platform.code;
    record->detail_code = 0;
    for (const auto& [key, value] : platform.userInfo) {
        record->keyTexts.push_back(key);
        if (const int* code = std::get_if<int>(&value)) record->detail_code = *code;
        if (const auto* status = std::get_if<std::shared_ptr<const OrvoPrinterStatus>>(&value)) {
            if (*status && record->statusHandle == nullptr) {
                record->statusHandle = newHandle<prelix10_status>(*status, true);
            }
        }
    }
    finish(*record);
    return record;
}

void finish(ErrorRecord& record) {
    record.keyPointers.clear();
    for (const auto& key : record.keyTexts) record.keyPointers.push_back(key.c_str());
    record.domain = record.domainText.c_str();
    record.message = record.messageText.c_str();
    record.status = record.statusHandle;
    record.user_info_keys = record.keyPointers.empty() ? nullptr : record.keyPointers.data();
    record.user_info_key_count = record.keyPointers.size();
}

Prelix10Error argumentError(std::string message) {
    return Prelix10Error(Prelix10ErrorKind::argument, std::move(message));
}

Prelix10Error errorFromCurrentException() noexcept {
    try {
        throw;
    } catch (const Prelix10Error& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    } catch (const std::exception& error) {
        try {
            return Prelix10Error(Prelix10ErrorKind::unknown, std::string(error.what()));
        } catch (...) {
            return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
        }
    } catch (...) {
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    }
}

void storeError(prelix10_error** out, const Prelix10Error& error) noexcept {
    if (out == nullptr) return;
    *out = nullptr;
    try {
        auto record = makeErrorRecord(error);
        HandleRegistry::shared().addRecord(static_cast<prelix10_error*>(record.get()), typeid(ErrorRecord));
        *out = record.release();
    } catch (...) {
        // Out of memory: the failure is still reported by the return value.
    }
}

char* ownedString(std::string_view text) noexcept {
    auto* out = static_cast<char*>(std::malloc(text.size() + 1));
    if (out == nullptr) return nullptr;
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return out;
}

std::uint8_t* ownedBytes(const std::uint8_t* data, std::size_t size) noexcept {
    auto* out = static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size));
    if (out != nullptr && size != 0) std::memcpy(out, data, size);
    return out;
}

HandleRegistry& HandleRegistry::shared() {
    // Never destroyed: handles may still be released while the process exits.
    static auto* registry = new HandleRegistry();
    return *registry;
}

void* HandleRegistry::reserve() {
    std::lock_guard lock(mutex_);
    const std::uintptr_t id = next_;
    next_ += 2;
    return reinterpret_cast<void*>(id);
}

void HandleRegistry::insert(const void* id, std::type_index type, std::shared_ptr<void> object) {
    std::lock_guard lock(mutex_);
    handles_.insert_or_assign(id, Entry{type, std::move(object)});
}

std::shared_ptr<void> HandleRegistry::find(const void* id, std::type_index type) const {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(id);
    if (it == handles_.end() || it->second.type != type) return nullptr;
    return it->second.object;
}

std::shared_ptr<void> HandleRegistry::remove(const void* id, std::type_index type) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(id);
    if (it == handles_.end() || it->second.type != type || !it->second.object) return nullptr;
    auto object = std::move(it->second.object);
    handles_.erase(it);
    return object;
}

void HandleRegistry::addRecord(const void* record, std::type_index type) {
    std::lock_guard lock(mutex_);
    handles_.insert_or_assign(record, Entry{type, nullptr});
}

bool HandleRegistry::removeRecord(const void* record, std::type_index type) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(record);
    if (it == handles_.end() || it->second.type != type || it->second.object) return false;
    handles_.erase(it);
    return true;
}

bool HandleRegistry::containsRecord(const void* record, std::type_index type) const {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(record);
    return it != handles_.end() && it->second.type == type && !it->second.object;
}

namespace {
struct CallHolds {
    std::size_t depth = 0;
    std::vector<std::shared_ptr<void>> objects;
};
CallHolds& callHolds() noexcept {
    thread_local CallHolds holds;
    return holds;
}
}  // namespace

CallScope::CallScope() noexcept : mark_(callHolds().objects.size()) {
    ++callHolds().depth;
}

CallScope::~CallScope() {
    auto& holds = callHolds();
    --holds.depth;
    if (holds.objects.size() <= mark_) return;
    // Moved out first: an object that goes here may run code that opens scopes of its own.
    std::vector<std::shared_ptr<void>> ending;
    try {
        ending.assign(std::make_move_iterator(holds.objects.begin() + static_cast<std::ptrdiff_t>(mark_)),
                      std::make_move_iterator(holds.objects.end()));
    } catch (...) {
    }
    holds.objects.resize(mark_);
}

bool CallScope::hold(std::shared_ptr<void> object) {
    auto& holds = callHolds();
    if (holds.depth == 0) return false;
    holds.objects.push_back(std::move(object));
    return true;
}

BorrowedError::BorrowedError(const std::optional<Prelix10Error>& error) noexcept {
    if (!error) return;
    try {
        record_ = makeErrorRecord(*error);
        HandleRegistry::shared().addRecord(static_cast<prelix10_error*>(record_.get()), typeid(BorrowedError));
    } catch (...) {
        // Out of memory: the completion still runs, with a general record.
        record_.reset();
        fallback_.domain = kPrelix10ErrorDomain;
        fallback_.message = "Unknown Error.";
        fallback_.code = PRELIX10_ERROR_UNKNOWN;
    }
}

BorrowedError::~BorrowedError() {
    if (record_)
        HandleRegistry::shared().removeRecord(static_cast<prelix10_error*>(record_.get()), typeid(BorrowedError));
}

const prelix10_error* BorrowedError::get() const noexcept {
    if (record_) return record_.get();
    return fallback_.domain != nullptr ? &fallback_ : nullptr;
}

std::string textFrom(const char* text, const char* name) {
    if (text == nullptr) throw argumentError(std::string("Invalid argument: ") + name + " is NULL.");
    return std::string(text);
}

char* ownedText(std::string_view text) {
    char* out = ownedString(text);
    if (out == nullptr) throw std::bad_alloc();
    return out;
}

std::function<void(std::optional<Prelix10Error>)> errorCompletion(prelix10_completion completion, void* context) {
    return [completion, context](std::optional<Prelix10Error> error) {
        if (completion == nullptr) return;
        const BorrowedError record(error);
        callOut([&] { completion(context, record.get()); });
    };
}

}  // namespace Prelix10::CApi

using namespace Prelix10;
using namespace Prelix10::CApi;

extern "C" {

prelix10_error* prelix10_error_copy(const prelix10_error* error) {
    // Only live records are read: the caller's own records and those a running completion borrows.
    const auto& registry = HandleRegistry::shared();
    if (error == nullptr ||
        (!registry.containsRecord(error, typeid(ErrorRecord)) &&
         !registry.containsRecord(error, typeid(BorrowedError)))) {
        return nullptr;
    }
    const auto& source = static_cast<const ErrorRecord&>(*error);
    try {
        auto record = std::make_unique<ErrorRecord>();
        record->domainText = source.domainText;
        record->messageText = source.messageText;
        record->code = source.code;
        record->detail_code = source.detail_code;
        record->keyTexts = source.keyTexts;
        if (const auto status = lookup(source.statusHandle))
            record->statusHandle = newHandle<prelix10_status>(status->status, true);
        finish(*record);
        HandleRegistry::shared().addRecord(static_cast<prelix10_error*>(record.get()), typeid(ErrorRecord));
        return record.release();
    } catch (...) {
        return nullptr;
    }
}

void prelix10_error_release(prelix10_error* error) {
    // A record a completion borrows is registered apart and goes with the completion: releasing it here
    // does nothing.
    if (error == nullptr) return;
    if (HandleRegistry::shared().removeRecord(error, typeid(ErrorRecord))) delete static_cast<ErrorRecord*>(error);
}

void prelix10_string_release(char* text) {
    std::free(text);
}

void prelix10_bytes_release(uint8_t* bytes) {
    std::free(bytes);
}

const char* prelix10_version(void) {
    static const std::string version = [] {
        try {
            return libraryVersion();
        } catch (...) {
            return std::string();
        }
    }();
    return version.c_str();
}

}  // extern "C"
