#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "prelix10/capi/prelix10.h"
#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/core/Prelix10Error.hpp"

// A printer status, shared by every face that hands one out.
struct prelix10_status {
    explicit prelix10_status(std::shared_ptr<const Prelix10::OrvoPrinterStatus> object, bool lent = false)
        : status(std::move(object)), borrowed(lent) {}
    std::shared_ptr<const Prelix10::OrvoPrinterStatus> status;
    // Lent by a completion or an error record, which releases it; prelix10_status_release ignores it.
    bool borrowed = false;
};

// The C face keeps every live handle in one registry. A pointer the caller hands in is looked up there
// before it is touched, so a null, released or foreign pointer, or a handle of another type, becomes an
// argument error instead of a crash.
namespace Prelix10::CApi {

// The C++ form of an error record: the strings it points into live beside it.
struct ErrorRecord : prelix10_error {
    std::string domainText;
    std::string messageText;
    std::vector<std::string> keyTexts;
    std::vector<const char*> keyPointers;
    prelix10_status* statusHandle = nullptr;
    ErrorRecord() : prelix10_error{} {}
    ErrorRecord(const ErrorRecord&) = delete;
    ErrorRecord& operator=(const ErrorRecord&) = delete;
    ~ErrorRecord();
};

// A record for an error; the status of an unprintable error comes with it as a borrowed handle.
std::unique_ptr<ErrorRecord> makeErrorRecord(const Prelix10Error& error);
// Points the C fields at the strings the record holds.
void finish(ErrorRecord& record);
// The error of a bad argument: kind argument, with the given message.
Prelix10Error argumentError(std::string message);
// Whatever escaped an operation, as the system's error.
Prelix10Error errorFromCurrentException() noexcept;
// Hands a new record to the caller when it asked for one.
void storeError(prelix10_error** out, const Prelix10Error& error) noexcept;

// An owned copy of a text, for the caller to release with prelix10_string_release; NULL if memory ran out.
char* ownedString(std::string_view text) noexcept;
// An owned copy of bytes, for prelix10_bytes_release; a non-null pointer even for an empty block.
std::uint8_t* ownedBytes(const std::uint8_t* data, std::size_t size) noexcept;

// Handles of opaque types are ids, not addresses: each is a value never handed out before, so a released
// handle can never name a newer object. The registry owns one reference to each live object; a call holds
// another for as long as it runs (see CallScope), so a release racing a call on another thread lets the
// object go only once that call is done. Error records, which callers read in place, are the one kind
// keyed by their address.
class HandleRegistry {
  public:
    static HandleRegistry& shared();
    // A fresh id: odd, so that it can never equal the address of a record.
    void* reserve();
    void insert(const void* id, std::type_index type, std::shared_ptr<void> object);
    // The live object of that id and type, or null.
    std::shared_ptr<void> find(const void* id, std::type_index type) const;
    // Forgets the handle and gives back its object, which goes when the caller drops it (outside the
    // registry's lock); null when it was not a live handle of that type.
    std::shared_ptr<void> remove(const void* id, std::type_index type);

    // Records keyed by their address.
    void addRecord(const void* record, std::type_index type);
    bool removeRecord(const void* record, std::type_index type);
    bool containsRecord(const void* record, std::type_index type) const;

  private:
    struct Entry {
        std::type_index type;
        std::shared_ptr<void> object;
    };
    mutable std::mutex mutex_;
    std::uintptr_t next_ = 0x100001;
    std::unordered_map<const void*, Entry> handles_;
};

// The span of one call of the C interface: the objects of the handles it looked up stay alive until it
// ends, whatever another thread releases meanwhile. Scopes nest (a callback that calls back in).
class CallScope {
  public:
    CallScope() noexcept;
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
    // Keeps the object until the innermost open scope of this thread ends; false when none is open.
    static bool hold(std::shared_ptr<void> object);

  private:
    std::size_t mark_;
};

// A handle type is a struct of the C header, defined by the face that owns it; each holds its object. A
// type that needs its own id (to hand it to events) has a member adopt(Handle* id), called before the
// handle is published.
template <typename Handle, typename... Args>
Handle* newHandle(Args&&... args) {
    auto object = std::make_shared<Handle>(std::forward<Args>(args)...);
    auto& registry = HandleRegistry::shared();
    auto* id = static_cast<Handle*>(registry.reserve());
    if constexpr (requires { object->adopt(id); }) object->adopt(id);
    registry.insert(id, typeid(Handle), std::move(object));
    return id;
}

// The live object of a handle, or null; the caller's reference keeps it.
template <typename Handle>
std::shared_ptr<Handle> lookup(const Handle* handle) {
    if (handle == nullptr) return nullptr;
    return std::static_pointer_cast<Handle>(HandleRegistry::shared().find(handle, typeid(Handle)));
}

// The live handle, or an argument error naming the parameter. The object is held by the running call.
template <typename Handle>
Handle& checked(const Handle* handle, const char* name) {
    auto object = lookup(handle);
    if (!object) throw argumentError(std::string("Invalid handle: ") + name + ".");
    Handle& live = *object;
    if (!CallScope::hold(std::move(object))) {
        // Every entry point opens a scope; without one the object could go while in use.
        throw Prelix10Error(Prelix10ErrorKind::unknown, std::string("Unknown Error."));
    }
    return live;
}

// Releases a handle made by newHandle; anything else is ignored. The object goes now, or when the last
// call that holds it returns.
template <typename Handle>
void releaseHandle(Handle* handle) noexcept {
    if (handle == nullptr) return;
    auto object = HandleRegistry::shared().remove(handle, typeid(Handle));
    object.reset();
}

// Runs the body of a C function: PRELIX10_OK, or PRELIX10_FAILED with the error stored.
template <typename Body>
int guarded(prelix10_error** error, Body&& body) noexcept {
    if (error != nullptr) *error = nullptr;
    const CallScope scope;
    try {
        body();
        return PRELIX10_OK;
    } catch (...) {
        storeError(error, errorFromCurrentException());
        return PRELIX10_FAILED;
    }
}

// Runs the body of a C function that returns a value or a pointer: the fallback on failure.
template <typename T, typename Body>
T guardedValue(prelix10_error** error, T fallback, Body&& body) noexcept {
    if (error != nullptr) *error = nullptr;
    const CallScope scope;
    try {
        return body();
    } catch (...) {
        storeError(error, errorFromCurrentException());
        return fallback;
    }
}

// Calls into the application's callback; a callback that throws (C++ callers) is stopped here.
template <typename Callback>
void callOut(Callback&& callback) noexcept {
    try {
        callback();
    } catch (...) {
    }
}

// A handle lent to a callback for the time it runs: registered, so the callback may pass it back in, and
// forgotten afterwards, so a use after the callback is an argument error instead of a dangling read.
template <typename Handle>
class BorrowedHandle {
  public:
    template <typename... Args>
    explicit BorrowedHandle(Args&&... args) : handle_(newHandle<Handle>(std::forward<Args>(args)...)) {}
    ~BorrowedHandle() { releaseHandle(handle_); }
    BorrowedHandle(const BorrowedHandle&) = delete;
    BorrowedHandle& operator=(const BorrowedHandle&) = delete;
    Handle* get() const noexcept { return handle_; }

  private:
    Handle* handle_;
};

// An application's table of callbacks, with the promise the header makes: once set() returns, no call of
// the old table is still running, except calls on the thread that called set() (a callback that clears
// its own table would otherwise wait for itself).
template <typename Table>
class CallbackTable {
  public:
    void set(const Table* table) {
        std::unique_lock lock(mutex_);
        if (table != nullptr)
            table_ = *table;
        else
            table_.reset();
        const auto self = std::this_thread::get_id();
        idle_.wait(lock, [&] {
            return std::all_of(active_.begin(), active_.end(),
                               [&](std::thread::id id) { return id == self; });
        });
    }
    bool isSet() const {
        std::lock_guard lock(mutex_);
        return table_.has_value();
    }
    // Runs call(table) with a copy of the table when one is set; the call is outside the lock.
    template <typename Call>
    void invoke(Call&& call) noexcept {
        std::optional<Table> table;
        const auto self = std::this_thread::get_id();
        {
            std::lock_guard lock(mutex_);
            if (!table_) return;
            table = table_;
            try {
                active_.push_back(self);
            } catch (...) {
                return;
            }
        }
        callOut([&] { call(*table); });
        {
            std::lock_guard lock(mutex_);
            active_.erase(std::find(active_.begin(), active_.end(), self));
        }
        idle_.notify_all();
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable idle_;
    std::optional<Table> table_;
    std::vector<std::thread::id> active_;
};

// Converts the optional error of a completion into the record the C callback borrows; the record is live
// (copyable) while this object exists, and a release of it by the callback does nothing. get() is NULL
// when there was no error.
class BorrowedError {
  public:
    explicit BorrowedError(const std::optional<Prelix10Error>& error) noexcept;
    ~BorrowedError();
    BorrowedError(const BorrowedError&) = delete;
    BorrowedError& operator=(const BorrowedError&) = delete;
    const prelix10_error* get() const noexcept;

  private:
    std::unique_ptr<ErrorRecord> record_;
    prelix10_error fallback_{};
};

// The output a caller must give; NULL is an argument error naming it.
template <typename T>
T& required(T* out, const char* name) {
    if (out == nullptr) throw argumentError(std::string("Invalid argument: ") + name + " is NULL.");
    return *out;
}

// The text a caller must give; NULL is an argument error naming it.
std::string textFrom(const char* text, const char* name);

// An owned copy of a text for the caller; running out of memory is a failure, not a NULL answer.
char* ownedText(std::string_view text);

// A native completion that calls the application's, when it gave one, with the error borrowed.
std::function<void(std::optional<Prelix10Error>)> errorCompletion(prelix10_completion completion, void* context);

}  // namespace Prelix10::CApi
