/* The C interface of Prelix10: printers, their discovery, command documents, settings, firmware and
 * wireless LAN setup, for C and for any language that can call C (Python through ctypes, Swift, ...).
 *
 * Conventions, for every function below:
 * - Objects are opaque handles. A handle made by a *_create or *_copy function, or handed out as owned,
 *   is the caller's until it is given to its *_release function. Passing NULL, a released handle or a
 *   handle of another type never crashes: the call fails with an argument error.
 * - A function that can fail returns PRELIX10_OK (0) or PRELIX10_FAILED (-1). On failure, when `error` is
 *   not NULL, *error receives an error record the caller releases with prelix10_error_release.
 * - Asynchronous operations return at once and report through a completion callback that receives the
 *   caller's `void* context` first. The completion runs exactly once, on a library thread; an error record
 *   or object it receives is valid only while it runs (copy it to keep it). If the operation cannot even
 *   be queued (a bad handle), the function returns PRELIX10_FAILED and the completion is not called.
 * - Strings are UTF-8 and NUL-terminated. Strings and byte blocks returned as owned are released with
 *   prelix10_string_release and prelix10_bytes_release.
 * - Delegate events arrive through a table of function pointers, any of which may be NULL.
 * - A callback may call any function of this interface, including closing or releasing the object that
 *   called it.
 */
#ifndef PRELIX10_H
#define PRELIX10_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define PRELIX10_C_API __attribute__((visibility("default")))
#else
#define PRELIX10_C_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define PRELIX10_OK 0
#define PRELIX10_FAILED (-1)

/* ---- Errors ------------------------------------------------------------------------------------- */

/* The error domain every record carries. */
#define PRELIX10_ERROR_DOMAIN "Prelix10.PRELIX10Error"
/* User-info keys. */
#define PRELIX10_ERROR_DETAIL_ERROR_CODE_KEY "PRELIX10ErrorDetailErrorCodeKey"
#define PRELIX10_ERROR_STATUS_KEY "PRELIX10ErrorStatusKey"

/* Error kinds, as the numeric code of a record. */
enum {
    PRELIX10_ERROR_UNKNOWN = 0,
    PRELIX10_ERROR_ARGUMENT = 1,
    PRELIX10_ERROR_BAD_RESPONSE = 2,
    PRELIX10_ERROR_COMMUNICATION = 3,
    PRELIX10_ERROR_ILLEGAL_DEVICE_STATE = 4,
    PRELIX10_ERROR_IN_USE = 5,
    PRELIX10_ERROR_INVALID_OPERATION = 6,
    PRELIX10_ERROR_NOT_FOUND = 7,
    PRELIX10_ERROR_UNPRINTABLE = 8,
    PRELIX10_ERROR_UNSUPPORTED_MODEL = 9,
    PRELIX10_ERROR_UNSUPPORTED_OS_VERSION = 10,
    PRELIX10_ERROR_AUTHENTICATION = 11,
    PRELIX10_ERROR_SERVER_COMMUNICATION = 12
};

typedef struct prelix10_status prelix10_status;

/* An error: its domain, its numeric code (the kind), its message, and its user info. The fields point
 * into the record and live as long as it does. */
typedef struct prelix10_error {
    const char* domain;
    int code;
    const char* message;
    /* User info "PRELIX10ErrorDetailErrorCodeKey": the detail code, 0 when there is none. */
    int detail_code;
    /* User info "PRELIX10ErrorStatusKey": the printer status an unprintable error captured, or NULL.
     * Borrowed from the record. */
    const prelix10_status* status;
    /* The user-info keys present, in order. */
    const char* const* user_info_keys;
    size_t user_info_key_count;
} prelix10_error;

PRELIX10_C_API prelix10_error* prelix10_error_copy(const prelix10_error* error);
PRELIX10_C_API void prelix10_error_release(prelix10_error* error);

/* ---- Owned strings and byte blocks ----------------------------------------------------------------- */

PRELIX10_C_API void prelix10_string_release(char* text);
PRELIX10_C_API void prelix10_bytes_release(uint8_t* bytes);

/* The library's version, e.g. "1.0.0". Static; never released. */
PRELIX10_C_API const char* prelix10_version(void);

/* ---- Completion shapes ------------------------------------------------------------------------------ */

/* error is NULL on success. */
typedef void (*prelix10_completion)(void* context, const prelix10_error* error);
typedef void (*prelix10_void_completion)(void* context);
/* data and size describe a borrowed byte block; data is NULL only on failure. */
typedef void (*prelix10_bytes_completion)(void* context, const uint8_t* data, size_t size,
                                          const prelix10_error* error);
/* text is borrowed; NULL on failure. */
typedef void (*prelix10_string_completion)(void* context, const char* text, const prelix10_error* error);
typedef void (*prelix10_int_completion)(void* context, int64_t value, const prelix10_error* error);

/* ---- Printer status ---------------------------------------------------------------------------------- */

/* ---- Printer ------------------------------------------------------------------------------------------ */

/* ---- Command document builders ------------------------------------------------------------------------ */

/* ---- Printer discovery -------------------------------------------------------------------------------- */

/* ---- Printer setting and firmware --------------------------------------------------------------------- */

/* ---- Setting devices and their discovery -------------------------------------------------------------- */

/* ---- Wireless LAN setting ----------------------------------------------------------------------------- */

#ifdef __cplusplus
}
#endif

#endif /* PRELIX10_H */
