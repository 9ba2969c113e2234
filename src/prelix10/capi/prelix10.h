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
 *   or object it receives is valid only while it runs (copy it to keep it; releasing it does nothing).
 *   If the operation cannot even be queued (a bad handle), the function returns PRELIX10_FAILED and the
 *   completion is not called.
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

/* The five summary flags of a status, each 0 or 1. */
typedef struct prelix10_status_flags {
    int has_error;
    int cover_open;
    int drawer_open_close_signal;
    int paper_empty;
    int paper_near_empty;
} prelix10_status_flags;

typedef void (*prelix10_status_completion)(void* context, const prelix10_status* status, const prelix10_error* error);

PRELIX10_C_API int prelix10_status_get_flags(const prelix10_status* status, prelix10_status_flags* flags,
                                             prelix10_error** error);
/* The status as text. Owned: prelix10_string_release. */
PRELIX10_C_API char* prelix10_status_description(const prelix10_status* status, prelix10_error** error);
/* The detailed status as one JSON object: every property by name, null when the printer did not report it
 * (drawer opened methods as 0 or 1). Owned: prelix10_string_release. */
PRELIX10_C_API char* prelix10_status_detail_json(const prelix10_status* status, prelix10_error** error);
/* A handle of the caller's own on the same status, e.g. to keep one a completion borrowed. */
PRELIX10_C_API prelix10_status* prelix10_status_copy(const prelix10_status* status, prelix10_error** error);
PRELIX10_C_API void prelix10_status_release(prelix10_status* status);

/* ---- Printer ------------------------------------------------------------------------------------------ */

typedef struct prelix10_printer prelix10_printer;

/* Interface types. */
enum {
    PRELIX10_INTERFACE_UNKNOWN = 0,
    PRELIX10_INTERFACE_USB = 1,
    PRELIX10_INTERFACE_BLUETOOTH = 2,
    PRELIX10_INTERFACE_BLUETOOTH_LE = 3,
    PRELIX10_INTERFACE_LAN = 4
};

/* The timeouts of a printer, in milliseconds. */
typedef enum prelix10_printer_timeout {
    PRELIX10_TIMEOUT_OPEN = 0,            /* 10000 by default */
    PRELIX10_TIMEOUT_GET_STATUS = 1,      /* 5000 */
    PRELIX10_TIMEOUT_PRINT = 2,           /* 30000 */
    PRELIX10_TIMEOUT_CONFIGURATION = 3    /* 90000 */
} prelix10_printer_timeout;

/* The settings of a spool print job; timeout in seconds, kept within 0 to 3600; note may be NULL. */
typedef struct prelix10_spool_job_settings {
    int is_retry_enabled;
    int64_t timeout;
    const char* note;
} prelix10_spool_job_settings;

/* One job of the printer's spooler. Strings are borrowed from the completion that hands it over. */
typedef struct prelix10_spool_job_status {
    int64_t job_id;
    int job_state;              /* 0 unknown, 1 accepted, ... 6 printSucceeded, ... 9 printFailedByPowerOff */
    int64_t elapsed_time;
    int job_received_interface; /* 0 unknown, then the interfaces the printer reports */
    const char* app_info;
    const char* host_model;
    const char* host_os;
    const char* host_ip_address;
    prelix10_spool_job_settings job_settings;
} prelix10_spool_job_status;

typedef void (*prelix10_spool_job_status_completion)(void* context, const prelix10_spool_job_status* status,
                                                     const prelix10_error* error);
/* jobs points at count records; NULL on failure. */
typedef void (*prelix10_spool_job_status_list_completion)(void* context, const prelix10_spool_job_status* jobs,
                                                          size_t count, const prelix10_error* error);

/* A printer reached through interface_type (PRELIX10_INTERFACE_*) at identifier (an IP address for LAN).
 * auto_switch_interface lets an open that fails there try the printer's other interfaces. */
PRELIX10_C_API prelix10_printer* prelix10_printer_create(int interface_type, const char* identifier,
                                                         int auto_switch_interface, prelix10_error** error);
/* Operations already started still run and call their completions; an open printer is closed once they
 * are done. The delegate tables are cleared first (see prelix10_printer_set_printer_delegate). */
PRELIX10_C_API void prelix10_printer_release(prelix10_printer* printer);

PRELIX10_C_API int prelix10_printer_get_interface_type(const prelix10_printer* printer, int* interface_type,
                                                       prelix10_error** error);
/* Owned: prelix10_string_release. */
PRELIX10_C_API char* prelix10_printer_get_identifier(const prelix10_printer* printer, prelix10_error** error);
/* which: a prelix10_printer_timeout. */
PRELIX10_C_API int prelix10_printer_get_timeout(const prelix10_printer* printer, int which, int* milliseconds,
                                                prelix10_error** error);
PRELIX10_C_API int prelix10_printer_set_timeout(prelix10_printer* printer, int which, int milliseconds,
                                                prelix10_error** error);
/* The template document the printer expands commands with; NULL for none. */
PRELIX10_C_API int prelix10_printer_set_template(prelix10_printer* printer, const char* template_document,
                                                 prelix10_error** error);
/* *template_document receives an owned copy, or NULL when none is set. */
PRELIX10_C_API int prelix10_printer_get_template(const prelix10_printer* printer, char** template_document,
                                                 prelix10_error** error);
/* The model (its number, and its name as text) and emulation known from discovery or the last open;
 * 0 and "unknown" before. The name is owned: prelix10_string_release. */
PRELIX10_C_API int prelix10_printer_get_model(const prelix10_printer* printer, int* model, prelix10_error** error);
PRELIX10_C_API char* prelix10_printer_get_model_name(const prelix10_printer* printer, prelix10_error** error);
PRELIX10_C_API int prelix10_printer_get_emulation(const prelix10_printer* printer, int* emulation,
                                                  prelix10_error** error);
/* The IP address the network card reported (discovery or open over LAN); *ip_address is NULL when unknown. */
PRELIX10_C_API int prelix10_printer_get_ip_address(const prelix10_printer* printer, char** ip_address,
                                                   prelix10_error** error);
PRELIX10_C_API int prelix10_printer_is_opened(const prelix10_printer* printer, int* opened, prelix10_error** error);
/* Owned: prelix10_string_release. */
PRELIX10_C_API char* prelix10_printer_description(const prelix10_printer* printer, prelix10_error** error);
/* Whether an open that fails on the printer's interface tries its others. */
PRELIX10_C_API int prelix10_printer_get_auto_switch_interface(const prelix10_printer* printer,
                                                              int* auto_switch_interface, prelix10_error** error);
/* Replaces the interface, identifier and auto-switch choice; the next open uses them. */
PRELIX10_C_API int prelix10_printer_set_connection_settings(prelix10_printer* printer, int interface_type,
                                                            const char* identifier, int auto_switch_interface,
                                                            prelix10_error** error);
/* Everything known of the printer as a JSON object: "model", "emulation", the "lan", "bluetooth",
 * "bluetoothLE" and "usb" records (unknown fields null) and the "reserved" raw values. *json receives an
 * owned text (prelix10_string_release), or NULL while nothing is known. */
PRELIX10_C_API int prelix10_printer_get_information_json(const prelix10_printer* printer, char** json,
                                                         prelix10_error** error);
/* The detail of the printer's last operation as a JSON object: "autoSwitchInterfaceOpenErrors", null
 * or, by interface type number, the error each interface tried by an auto-switch open gave (domain,
 * code, message, userInfo) or null. *json receives an owned text. */
PRELIX10_C_API int prelix10_printer_get_error_detail_json(const prelix10_printer* printer, char** json,
                                                          prelix10_error** error);

/* The operations. Each returns at once; completion may be NULL when the caller needs no report. */
PRELIX10_C_API int prelix10_printer_open(prelix10_printer* printer, prelix10_completion completion, void* context,
                                         prelix10_error** error);
PRELIX10_C_API int prelix10_printer_close(prelix10_printer* printer, prelix10_void_completion completion,
                                          void* context, prelix10_error** error);
PRELIX10_C_API int prelix10_printer_write(prelix10_printer* printer, const uint8_t* data, size_t size, int timeout,
                                          prelix10_completion completion, void* context, prelix10_error** error);
PRELIX10_C_API int prelix10_printer_read(prelix10_printer* printer, int size, prelix10_bytes_completion completion,
                                         void* context, prelix10_error** error);
PRELIX10_C_API int prelix10_printer_print_raw(prelix10_printer* printer, const uint8_t* data, size_t size,
                                              prelix10_completion completion, void* context, prelix10_error** error);
/* command: a command document, e.g. from prelix10_document_builder_get_commands. */
PRELIX10_C_API int prelix10_printer_print_command(prelix10_printer* printer, const char* command,
                                                  prelix10_completion completion, void* context,
                                                  prelix10_error** error);
/* The completion receives the job id, or -1 with the error. */
PRELIX10_C_API int prelix10_printer_spool_print(prelix10_printer* printer, const char* command,
                                                const prelix10_spool_job_settings* settings,
                                                prelix10_int_completion completion, void* context,
                                                prelix10_error** error);
PRELIX10_C_API int prelix10_printer_get_status(prelix10_printer* printer, prelix10_status_completion completion,
                                               void* context, prelix10_error** error);
PRELIX10_C_API int prelix10_printer_get_spool_job_status(prelix10_printer* printer, int64_t job_id,
                                                         prelix10_spool_job_status_completion completion,
                                                         void* context, prelix10_error** error);
PRELIX10_C_API int prelix10_printer_get_spool_job_status_list(prelix10_printer* printer, int64_t size,
                                                              prelix10_spool_job_status_list_completion completion,
                                                              void* context, prelix10_error** error);
/* The completion receives the printer's answer as its raw value (also on failure, with the error). */
PRELIX10_C_API int prelix10_printer_set_configuration(prelix10_printer* printer, const char* configuration,
                                                      prelix10_int_completion completion, void* context,
                                                      prelix10_error** error);
/* password may be NULL for no password. */
PRELIX10_C_API int prelix10_printer_get_configuration(prelix10_printer* printer, const char* password,
                                                      prelix10_string_completion completion, void* context,
                                                      prelix10_error** error);
PRELIX10_C_API int prelix10_printer_get_default_configuration(prelix10_printer* printer,
                                                              prelix10_string_completion completion, void* context,
                                                              prelix10_error** error);

/* Delegate tables. While the printer is open a background monitor raises these events on a thread of its
 * own; a NULL entry is skipped. Setting a table copies it; setting NULL clears it. Once a clear (or the
 * printer's release) returns, no call of the old table runs any more, except one that called the clear
 * itself. The printer handle an event receives is the one the table was set on (borrowed). */
typedef struct prelix10_printer_delegate {
    void* context;
    void (*communication_error_did_occur)(void* context, prelix10_printer* printer, const prelix10_error* error);
    void (*printer_is_ready)(void* context, prelix10_printer* printer);
    void (*printer_did_have_error)(void* context, prelix10_printer* printer);
    void (*printer_is_paper_ready)(void* context, prelix10_printer* printer);
    void (*printer_is_paper_near_empty)(void* context, prelix10_printer* printer);
    void (*printer_is_paper_empty)(void* context, prelix10_printer* printer);
    void (*printer_is_cover_open)(void* context, prelix10_printer* printer);
    void (*printer_is_cover_close)(void* context, prelix10_printer* printer);
} prelix10_printer_delegate;

typedef struct prelix10_drawer_delegate {
    void* context;
    void (*communication_error_did_occur)(void* context, prelix10_printer* printer, const prelix10_error* error);
    void (*did_switch)(void* context, prelix10_printer* printer, int open_close_signal);
    /* The whole detailed status, as prelix10_status_detail_json gives it (borrowed). */
    void (*did_switch_status_details)(void* context, prelix10_printer* printer, const char* detail_json);
} prelix10_drawer_delegate;

typedef struct prelix10_input_device_delegate {
    void* context;
    void (*communication_error_did_occur)(void* context, prelix10_printer* printer, const prelix10_error* error);
    void (*did_connect)(void* context, prelix10_printer* printer);
    void (*did_disconnect)(void* context, prelix10_printer* printer);
    void (*did_receive)(void* context, prelix10_printer* printer, const uint8_t* data, size_t size);
} prelix10_input_device_delegate;

typedef struct prelix10_display_delegate {
    void* context;
    void (*communication_error_did_occur)(void* context, prelix10_printer* printer, const prelix10_error* error);
    void (*did_connect)(void* context, prelix10_printer* printer);
    void (*did_disconnect)(void* context, prelix10_printer* printer);
} prelix10_display_delegate;

PRELIX10_C_API int prelix10_printer_set_printer_delegate(prelix10_printer* printer,
                                                         const prelix10_printer_delegate* delegate,
                                                         prelix10_error** error);
PRELIX10_C_API int prelix10_printer_set_drawer_delegate(prelix10_printer* printer,
                                                        const prelix10_drawer_delegate* delegate,
                                                        prelix10_error** error);
PRELIX10_C_API int prelix10_printer_set_input_device_delegate(prelix10_printer* printer,
                                                              const prelix10_input_device_delegate* delegate,
                                                              prelix10_error** error);
PRELIX10_C_API int prelix10_printer_set_display_delegate(prelix10_printer* printer,
                                                         const prelix10_display_delegate* delegate,
                                                         prelix10_error** error);

/* ---- Command document builders ------------------------------------------------------------------------ */

/* A printer builder collects the printing steps; a document builder collects printer builders, drawer
 * openings and raw bytes, and gives the command document a printer prints. A document refers to the
 * printer builders added to it: steps added to one afterwards show in the document too. Either may be
 * released at any time; the document keeps what it needs. */
typedef struct prelix10_document_builder prelix10_document_builder;
typedef struct prelix10_printer_builder prelix10_printer_builder;

enum { PRELIX10_ALIGNMENT_LEFT = 0, PRELIX10_ALIGNMENT_CENTER = 1, PRELIX10_ALIGNMENT_RIGHT = 2 };
enum { PRELIX10_FONT_A = 0, PRELIX10_FONT_B = 1 };
enum {
    PRELIX10_CUT_FULL = 0,
    PRELIX10_CUT_PARTIAL = 1,
    PRELIX10_CUT_FULL_DIRECT = 2,
    PRELIX10_CUT_PARTIAL_DIRECT = 3,
    PRELIX10_CUT_TEAR_OFF = 4
};
enum {
    PRELIX10_BARCODE_UPC_E = 0,
    PRELIX10_BARCODE_UPC_A = 1,
    PRELIX10_BARCODE_JAN8 = 2,
    PRELIX10_BARCODE_EAN8 = 3,
    PRELIX10_BARCODE_JAN13 = 4,
    PRELIX10_BARCODE_EAN13 = 5,
    PRELIX10_BARCODE_CODE39 = 6,
    PRELIX10_BARCODE_ITF = 7,
    PRELIX10_BARCODE_CODE128 = 8,
    PRELIX10_BARCODE_CODE93 = 9,
    PRELIX10_BARCODE_NW7 = 10
};
enum { PRELIX10_QR_LEVEL_L = 0, PRELIX10_QR_LEVEL_M = 1, PRELIX10_QR_LEVEL_Q = 2, PRELIX10_QR_LEVEL_H = 3 };
enum { PRELIX10_DRAWER_1 = 0, PRELIX10_DRAWER_2 = 1, PRELIX10_DRAWER_3 = 2, PRELIX10_DRAWER_4 = 3 };

PRELIX10_C_API prelix10_printer_builder* prelix10_printer_builder_create(prelix10_error** error);
PRELIX10_C_API void prelix10_printer_builder_release(prelix10_printer_builder* builder);
PRELIX10_C_API int prelix10_printer_builder_style_alignment(prelix10_printer_builder* builder, int alignment,
                                                            prelix10_error** error);
PRELIX10_C_API int prelix10_printer_builder_style_font(prelix10_printer_builder* builder, int font,
                                                       prelix10_error** error);
PRELIX10_C_API int prelix10_printer_builder_style_bold(prelix10_printer_builder* builder, int enable,
                                                       prelix10_error** error);
PRELIX10_C_API int prelix10_printer_builder_style_invert(prelix10_printer_builder* builder, int enable,
                                                         prelix10_error** error);
PRELIX10_C_API int prelix10_printer_builder_style_underline(prelix10_printer_builder* builder, int enable,
                                                            prelix10_error** error);
/* Character magnification, 1 to 6 each way. */
PRELIX10_C_API int prelix10_printer_builder_style_magnification(prelix10_printer_builder* builder, int width,
                                                                int height, prelix10_error** error);
/* UTF-8 text; "\n" ends a line. */
PRELIX10_C_API int prelix10_printer_builder_action_print_text(prelix10_printer_builder* builder, const char* text,
                                                              prelix10_error** error);
/* Feeds the paper by height millimetres. */
PRELIX10_C_API int prelix10_printer_builder_action_feed(prelix10_printer_builder* builder, double height,
                                                        prelix10_error** error);
PRELIX10_C_API int prelix10_printer_builder_action_feed_line(prelix10_printer_builder* builder, int lines,
                                                             prelix10_error** error);
PRELIX10_C_API int prelix10_printer_builder_action_cut(prelix10_printer_builder* builder, int cut_type,
                                                       prelix10_error** error);
/* A barcode of the given symbology (PRELIX10_BARCODE_*), height in millimetres, with its human-readable
 * text below when print_hri is not 0. */
PRELIX10_C_API int prelix10_printer_builder_action_print_barcode(prelix10_printer_builder* builder,
                                                                 const char* content, int symbology,
                                                                 double height, int print_hri,
                                                                 prelix10_error** error);
/* A QR code, error correction level PRELIX10_QR_LEVEL_*, cell_size 1 to 8 dots. */
PRELIX10_C_API int prelix10_printer_builder_action_print_qr_code(prelix10_printer_builder* builder,
                                                                 const char* content, int level, int cell_size,
                                                                 prelix10_error** error);
/* An image from 8-bit grey pixels, row by row (0 black, 255 white), width x height bytes, printed
 * print_width dots wide; dark pixels below threshold (0 to 255) print, or error diffusion when
 * effect_diffusion is not 0. */
PRELIX10_C_API int prelix10_printer_builder_action_print_image(prelix10_printer_builder* builder,
                                                               const uint8_t* grey_pixels, int width, int height,
                                                               int print_width, int effect_diffusion,
                                                               int threshold, prelix10_error** error);

PRELIX10_C_API prelix10_document_builder* prelix10_document_builder_create(prelix10_error** error);
PRELIX10_C_API void prelix10_document_builder_release(prelix10_document_builder* builder);
PRELIX10_C_API int prelix10_document_builder_add_printer(prelix10_document_builder* builder,
                                                         const prelix10_printer_builder* printer,
                                                         prelix10_error** error);
/* Opens a cash drawer (PRELIX10_DRAWER_*) with a pulse of on_time milliseconds. */
PRELIX10_C_API int prelix10_document_builder_add_drawer_open(prelix10_document_builder* builder, int channel,
                                                             int on_time, prelix10_error** error);
PRELIX10_C_API int prelix10_document_builder_add_raw(prelix10_document_builder* builder, const uint8_t* data,
                                                     size_t size, prelix10_error** error);
/* The command document of this document builder, for prelix10_printer_print_command. Owned:
 * prelix10_string_release. */
PRELIX10_C_API char* prelix10_document_builder_get_commands(const prelix10_document_builder* builder,
                                                            prelix10_error** error);

/* ---- Printer discovery -------------------------------------------------------------------------------- */

typedef struct prelix10_discovery prelix10_discovery;

/* The events of a discovery, on its worker threads; a NULL entry is skipped. did_find_printer hands over
 * an owned printer handle (release it with prelix10_printer_release). As for printers, once a clear or the
 * discovery's release returns no call of the old table runs any more, except one that called it. */
typedef struct prelix10_discovery_delegate {
    void* context;
    void (*did_find_printer)(void* context, prelix10_discovery* discovery, prelix10_printer* printer);
    void (*did_finish_discovery)(void* context, prelix10_discovery* discovery);
} prelix10_discovery_delegate;

/* A discovery over the given interfaces (PRELIX10_INTERFACE_*; several run as one). */
PRELIX10_C_API prelix10_discovery* prelix10_discovery_create(const int* interface_types, size_t count,
                                                             prelix10_error** error);
/* Stops a running discovery; no end report follows. */
PRELIX10_C_API void prelix10_discovery_release(prelix10_discovery* discovery);
PRELIX10_C_API int prelix10_discovery_set_delegate(prelix10_discovery* discovery,
                                                   const prelix10_discovery_delegate* delegate,
                                                   prelix10_error** error);
/* Milliseconds after which a run ends by itself; -1 (the default) for no limit. */
PRELIX10_C_API int prelix10_discovery_set_time(prelix10_discovery* discovery, int64_t milliseconds,
                                               prelix10_error** error);
PRELIX10_C_API int prelix10_discovery_get_time(const prelix10_discovery* discovery, int64_t* milliseconds,
                                               prelix10_error** error);
PRELIX10_C_API int prelix10_discovery_start(prelix10_discovery* discovery, prelix10_error** error);
PRELIX10_C_API int prelix10_discovery_stop(prelix10_discovery* discovery, prelix10_error** error);

/* Keeps the LAN layer of this process on loopback, for a printer that runs on this host (such as the
 * virtual printer tool): the only local network is 127.0.0.1/8, discovery requests go to 127.0.0.1, and
 * printers are reached on the given TCP data and status ports and UDP discovery port (0 keeps a port's
 * default). */
PRELIX10_C_API int prelix10_lan_use_loopback(uint16_t data_port, uint16_t status_port, uint16_t discovery_port,
                                             prelix10_error** error);

/* ---- Printer setting and firmware --------------------------------------------------------------------- */

/* What an open printer offers beyond printing, and its firmware object. Both are reached from a printer
 * handle and are owned handles the caller releases; they stay usable after the printer handle is released
 * (operations on a printer that is gone fail with "Not opened."). In this section and the two below, any
 * completion may be NULL: the operation still runs. */
typedef struct prelix10_printer_setting prelix10_printer_setting;
typedef struct prelix10_printer_setting_firmware prelix10_printer_setting_firmware;

/* The steps an update reports. */
enum {
    PRELIX10_FIRMWARE_UPDATE_STEP_DOWNLOAD = 0,
    PRELIX10_FIRMWARE_UPDATE_STEP_TRANSMIT = 1
};

/* The update events. Each runs on the printer's queue and receives the context given with the table and a
 * handle of the firmware object that is borrowed for the event (releasing it does nothing; a table set through
 * it lasts only while the event runs, so NULL through it is the way to clear the events from inside one). */
typedef struct prelix10_firmware_update_delegate {
    /* A step begins: PRELIX10_FIRMWARE_UPDATE_STEP_*. */
    void (*firmware_update_progress)(void* context, prelix10_printer_setting_firmware* firmware, int step);
    /* The printer has the new firmware. */
    void (*firmware_update_transmit_complete)(void* context, prelix10_printer_setting_firmware* firmware);
    /* The update failed; the error is borrowed. */
    void (*firmware_update_error_did_occur)(void* context, prelix10_printer_setting_firmware* firmware,
                                            const prelix10_error* error);
} prelix10_firmware_update_delegate;

struct prelix10_printer;

/* The setting object the printer's last open made. *setting is NULL (and the call succeeds) before the
 * first open. */
PRELIX10_C_API int prelix10_printer_get_setting(const struct prelix10_printer* printer,
                                                prelix10_printer_setting** setting, prelix10_error** error);
PRELIX10_C_API void prelix10_printer_setting_release(prelix10_printer_setting* setting);
/* The firmware object; *firmware is NULL (and the call succeeds) for a model that has none. */
PRELIX10_C_API int prelix10_printer_setting_get_firmware(const prelix10_printer_setting* setting,
                                                         prelix10_printer_setting_firmware** firmware,
                                                         prelix10_error** error);
PRELIX10_C_API void prelix10_printer_setting_firmware_release(prelix10_printer_setting_firmware* firmware);

/* The version the printer last reported ("" before any read), as an owned string. */
PRELIX10_C_API int prelix10_printer_setting_firmware_current_version(const prelix10_printer_setting_firmware* firmware,
                                                                     char** version, prelix10_error** error);
PRELIX10_C_API int prelix10_printer_setting_firmware_set_current_version(prelix10_printer_setting_firmware* firmware,
                                                                         const char* version, prelix10_error** error);
/* The newest version the cloud service knows, as an owned string; NULL before a version check. */
PRELIX10_C_API int prelix10_printer_setting_firmware_latest_version(const prelix10_printer_setting_firmware* firmware,
                                                                    char** version, prelix10_error** error);
/* NULL clears it. */
PRELIX10_C_API int prelix10_printer_setting_firmware_set_latest_version(prelix10_printer_setting_firmware* firmware,
                                                                        const char* version, prelix10_error** error);
/* 1 when the model takes firmware updates, else 0. */
PRELIX10_C_API int prelix10_printer_setting_firmware_is_updatable(const prelix10_printer_setting_firmware* firmware,
                                                                  int* is_updatable, prelix10_error** error);
/* Sets the update events: the table is copied; NULL clears them. The events stay in force while this handle
 * lives: releasing it clears them, as a weakly held delegate goes with its owner. Once a clear, a replacement
 * or the handle's release returns, no call of the old table runs any more, except one that made the call. */
PRELIX10_C_API int prelix10_printer_setting_firmware_set_update_delegate(
    prelix10_printer_setting_firmware* firmware, const prelix10_firmware_update_delegate* delegate, void* context,
    prelix10_error** error);

/* Reads the version from the printer; the completion receives it, borrowed (it may be ""). */
PRELIX10_C_API int prelix10_printer_setting_firmware_get_current_version(prelix10_printer_setting_firmware* firmware,
                                                                         prelix10_string_completion completion,
                                                                         void* context, prelix10_error** error);
/* Reads the current version and asks the cloud service for the latest; on success both properties hold
 * them. The versions are not compared. */
PRELIX10_C_API int prelix10_printer_setting_firmware_check_versions(prelix10_printer_setting_firmware* firmware,
                                                                    prelix10_completion completion, void* context,
                                                                    prelix10_error** error);
/* Downloads the newest firmware and installs it; the steps go to the update events. It succeeds only once the
 * printer reports the new version. */
PRELIX10_C_API int prelix10_printer_setting_firmware_update(prelix10_printer_setting_firmware* firmware,
                                                            prelix10_completion completion, void* context,
                                                            prelix10_error** error);

/* The firmware cloud service, for the version checks and updates that start afterwards (process-wide).
 * The address is "https://host[:port]" without a trailing "/"; NULL or "" leaves none, and every check and
 * update then fails with code 8000 without sending anything. The CA file names the PEM file of the
 * authorities trusted for the service's certificate; NULL or "" trusts the system's store. Certificate
 * verification cannot be turned off. The diagnostic switch (1, the default, or 0) says whether an update
 * first uploads the printer's and this host's description to the service. */
PRELIX10_C_API int prelix10_firmware_cloud_set_service_url(const char* url, prelix10_error** error);
PRELIX10_C_API int prelix10_firmware_cloud_get_service_url(char** url, prelix10_error** error);
PRELIX10_C_API int prelix10_firmware_cloud_set_ca_file(const char* path, prelix10_error** error);
PRELIX10_C_API int prelix10_firmware_cloud_set_diagnostic_upload(int enabled, prelix10_error** error);
PRELIX10_C_API int prelix10_firmware_cloud_get_diagnostic_upload(int* enabled, prelix10_error** error);

/* ---- Setting devices and their discovery -------------------------------------------------------------- */

/* A printer or interface module opened for setting over its Bluetooth LE setting service. */
typedef struct prelix10_setting_device prelix10_setting_device;
typedef struct prelix10_setting_device_discovery_manager prelix10_setting_device_discovery_manager;

/* The bleRssi of a device without an advertisement. */
#define PRELIX10_SETTING_DEVICE_NO_RSSI (-127)

/* A closed device for the given connection: interface_type is the numeric interface type (3 is Bluetooth
 * LE, the only one a setting device opens), identifier its address. */
PRELIX10_C_API int prelix10_setting_device_create(int interface_type, const char* identifier,
                                                  int auto_switch_interface, prelix10_setting_device** device,
                                                  prelix10_error** error);
PRELIX10_C_API void prelix10_setting_device_release(prelix10_setting_device* device);

/* The connection settings: any of the outputs may be NULL; *identifier is an owned string. */
PRELIX10_C_API int prelix10_setting_device_connection_settings(const prelix10_setting_device* device,
                                                               int* interface_type, char** identifier,
                                                               int* auto_switch_interface, prelix10_error** error);
PRELIX10_C_API int prelix10_setting_device_open_timeout(const prelix10_setting_device* device, int* milliseconds,
                                                        prelix10_error** error);
PRELIX10_C_API int prelix10_setting_device_set_open_timeout(prelix10_setting_device* device, int milliseconds,
                                                            prelix10_error** error);
PRELIX10_C_API int prelix10_setting_device_communication_timeout(const prelix10_setting_device* device,
                                                                 int* milliseconds, prelix10_error** error);
PRELIX10_C_API int prelix10_setting_device_set_communication_timeout(prelix10_setting_device* device,
                                                                     int milliseconds, prelix10_error** error);
/* The RSSI of the advertisement discovery saw; PRELIX10_SETTING_DEVICE_NO_RSSI without one. */
PRELIX10_C_API int prelix10_setting_device_ble_rssi(const prelix10_setting_device* device, int* rssi,
                                                    prelix10_error** error);
/* 1 between a successful open and the next close, else 0. */
PRELIX10_C_API int prelix10_setting_device_is_opened(const prelix10_setting_device* device, int* is_opened,
                                                     prelix10_error** error);

/* What is known of the device. *has_information is 0 when nothing is; then the model and emulation are 0 and
 * the texts NULL. model and emulation are the numeric model and emulation of the printer face. Any output
 * may be NULL; the texts are owned strings, NULL when absent. */
PRELIX10_C_API int prelix10_setting_device_information(const prelix10_setting_device* device, int* has_information,
                                                       int* model, int* emulation, char** ble_address,
                                                       char** ble_device_name, prelix10_error** error);
/* A description of the device, as an owned string. */
PRELIX10_C_API int prelix10_setting_device_description(const prelix10_setting_device* device, char** description,
                                                       prelix10_error** error);

/* Opens the device: takes it exclusively, opens its setting service and identifies its model. */
PRELIX10_C_API int prelix10_setting_device_open(prelix10_setting_device* device, prelix10_completion completion,
                                                void* context, prelix10_error** error);
/* Closes it; never fails. */
PRELIX10_C_API int prelix10_setting_device_close(prelix10_setting_device* device, prelix10_void_completion completion,
                                                 void* context, prelix10_error** error);
/* Writes size bytes (data may be NULL only when size is 0) within timeout milliseconds; the bytes are copied. */
PRELIX10_C_API int prelix10_setting_device_write(prelix10_setting_device* device, const uint8_t* data, size_t size,
                                                 int timeout, prelix10_completion completion, void* context,
                                                 prelix10_error** error);
/* Reads what the device has sent, at most size bytes. */
PRELIX10_C_API int prelix10_setting_device_read(prelix10_setting_device* device, int size,
                                                prelix10_bytes_completion completion, void* context,
                                                prelix10_error** error);

/* The discovery events, on the discovery's threads. The manager is a handle borrowed for the event
 * (releasing it does nothing; a table set through it lasts only while the event runs); the device is an owned
 * handle of a device that is not opened, which the receiver releases. */
typedef struct prelix10_setting_device_discovery_delegate {
    void (*manager_did_find)(void* context, prelix10_setting_device_discovery_manager* manager,
                             prelix10_setting_device* device);
    void (*manager_did_finish_discovery)(void* context, prelix10_setting_device_discovery_manager* manager);
} prelix10_setting_device_discovery_delegate;

/* A discovery of the devices that offer the wireless LAN setting service, over the given interface types
 * (repeats dropped). Only Bluetooth LE (3) is supported: any other type fails with "Not Supported
 * interface.", an empty list with "Interface is not specified.". */
PRELIX10_C_API int prelix10_setting_device_discovery_manager_create(const int* interface_types, size_t count,
                                                                    prelix10_setting_device_discovery_manager** manager,
                                                                    prelix10_error** error);
/* Releasing the last handle stops a run. */
PRELIX10_C_API void prelix10_setting_device_discovery_manager_release(prelix10_setting_device_discovery_manager* manager);
/* Sets the events: the table is copied; NULL clears them. They stay in force while this handle lives. */
PRELIX10_C_API int prelix10_setting_device_discovery_manager_set_delegate(
    prelix10_setting_device_discovery_manager* manager, const prelix10_setting_device_discovery_delegate* delegate,
    void* context, prelix10_error** error);
/* Milliseconds after which a run ends by itself; -1 for no limit. */
PRELIX10_C_API int prelix10_setting_device_discovery_manager_discovery_time(
    const prelix10_setting_device_discovery_manager* manager, int64_t* milliseconds, prelix10_error** error);
PRELIX10_C_API int prelix10_setting_device_discovery_manager_set_discovery_time(
    prelix10_setting_device_discovery_manager* manager, int64_t milliseconds, prelix10_error** error);
/* 1 when a device found again in the same run is reported again. */
PRELIX10_C_API int prelix10_setting_device_discovery_manager_is_enabled_find_same_device(
    const prelix10_setting_device_discovery_manager* manager, int* enabled, prelix10_error** error);
PRELIX10_C_API int prelix10_setting_device_discovery_manager_set_is_enabled_find_same_device(
    prelix10_setting_device_discovery_manager* manager, int enabled, prelix10_error** error);
/* Starts a run: fails with "Bluetooth unavailable." or "Already started.". */
PRELIX10_C_API int prelix10_setting_device_discovery_manager_start_discovery(
    prelix10_setting_device_discovery_manager* manager, prelix10_error** error);
PRELIX10_C_API int prelix10_setting_device_discovery_manager_stop_discovery(
    prelix10_setting_device_discovery_manager* manager, prelix10_error** error);


/* ---- Wireless LAN setting ----------------------------------------------------------------------------- */

/* The wireless LAN mode: the ASCII digit the device uses. */
enum {
    PRELIX10_WLAN_MODE_UNKNOWN = 0x30,
    PRELIX10_WLAN_MODE_INFRASTRUCTURE = 0x31,
    PRELIX10_WLAN_MODE_ACCESS_POINT = 0x32
};

/* The wireless LAN security types, in case order. */
enum {
    PRELIX10_WLAN_SECURITY_TYPE_UNKNOWN = 0,
    PRELIX10_WLAN_SECURITY_TYPE_OPEN = 1,
    PRELIX10_WLAN_SECURITY_TYPE_WPA_PERSONAL = 2,
    PRELIX10_WLAN_SECURITY_TYPE_WPA2_PERSONAL = 3,
    PRELIX10_WLAN_SECURITY_TYPE_WPA3_SAE = 4,
    PRELIX10_WLAN_SECURITY_TYPE_AUTO = 5
};

/* "unknown", "infrastructure", "accessPoint"; NULL for any other value. Static. */
PRELIX10_C_API const char* prelix10_wlan_mode_description(int mode);
/* "unknown", "open", "wpaPersonal", "wpa2Personal", "wpa3SAE", "auto"; NULL for any other value. Static. */
PRELIX10_C_API const char* prelix10_wlan_security_type_description(int security_type);
/* The bytes the device uses for a security type (one zero byte for unknown, "10" for auto); *bytes is
 * static. */
PRELIX10_C_API int prelix10_wlan_security_type_raw_value(int security_type, const uint8_t** bytes, size_t* size,
                                                         prelix10_error** error);
/* The security type whose bytes equal these; unknown for any other sequence. data may be NULL when size is 0. */
PRELIX10_C_API int prelix10_wlan_security_type_from_raw_value(const uint8_t* data, size_t size, int* security_type,
                                                              prelix10_error** error);

/* The access point the device shall join. The strings are the caller's; they are copied by the call. */
typedef struct prelix10_ap_info {
    int wlan_mode;     /* PRELIX10_WLAN_MODE_* */
    const char* ssid;
    int security_type; /* PRELIX10_WLAN_SECURITY_TYPE_* */
    const char* password;
} prelix10_ap_info;

/* One access point a scan found. */
typedef struct prelix10_found_ap_info {
    const char* ssid;
    const char* bssid;
    int channel;
    int rssi;
    const char* security; /* the device's own text */
} prelix10_found_ap_info;

/* What the device reports of its wireless state. The is_passed_* fields are 1 or 0. */
typedef struct prelix10_current_wlan_info {
    const char* ssid;
    int mode;          /* PRELIX10_WLAN_MODE_* */
    int channel;
    const char* bssid;
    int security_type; /* PRELIX10_WLAN_SECURITY_TYPE_* */
    int rssi;
    int is_passed_ssid;
    int is_passed_security_type;
    int is_passed_security_key;
} prelix10_current_wlan_info;

/* The state of the wireless LAN that a device advertises. Each field is 1 or 0. */
typedef struct prelix10_wlan_setting_service_status {
    int is_infrastructure_mode;
    int is_connected_wired_lan;
    int is_wlan_disabled;
    int is_ap_connection_succeeded;
} prelix10_wlan_setting_service_status;

/* Descriptions of the values ("ssid : shop, ..."), as owned strings. */
PRELIX10_C_API int prelix10_ap_info_description(const prelix10_ap_info* ap_info, char** description,
                                                prelix10_error** error);
PRELIX10_C_API int prelix10_found_ap_info_description(const prelix10_found_ap_info* found, char** description,
                                                      prelix10_error** error);
PRELIX10_C_API int prelix10_current_wlan_info_description(const prelix10_current_wlan_info* info,
                                                          char** description, prelix10_error** error);

/* info is borrowed; NULL on failure. */
typedef void (*prelix10_current_wlan_info_completion)(void* context, const prelix10_current_wlan_info* info,
                                                      const prelix10_error* error);
/* list and its strings are borrowed; list is NULL only on failure (an empty scan gives a non-NULL list and a
 * count of 0). */
typedef void (*prelix10_found_ap_info_completion)(void* context, const prelix10_found_ap_info* list, size_t count,
                                                  const prelix10_error* error);

/* Sets up a device's wireless LAN. Opened, closed, read and written as a setting device through the handle
 * prelix10_wlan_setting_setting_device gives. */
typedef struct prelix10_wlan_setting prelix10_wlan_setting;

PRELIX10_C_API int prelix10_wlan_setting_create(int interface_type, const char* identifier,
                                                int auto_switch_interface, prelix10_wlan_setting** setting,
                                                prelix10_error** error);
/* From a discovered device: its connection settings and information, with the default timeouts. The device is
 * not changed. */
PRELIX10_C_API int prelix10_wlan_setting_create_from_setting_device(const prelix10_setting_device* device,
                                                                    prelix10_wlan_setting** setting,
                                                                    prelix10_error** error);
PRELIX10_C_API void prelix10_wlan_setting_release(prelix10_wlan_setting* setting);
/* The same object as a setting device, as an owned handle: open, close, timeouts, read and write. */
PRELIX10_C_API int prelix10_wlan_setting_setting_device(const prelix10_wlan_setting* setting,
                                                        prelix10_setting_device** device, prelix10_error** error);
/* The status the device advertised; *has_status is 0 (and *status untouched) when it announced none. */
PRELIX10_C_API int prelix10_wlan_setting_get_service_status(const prelix10_wlan_setting* setting, int* has_status,
                                                            prelix10_wlan_setting_service_status* status,
                                                            prelix10_error** error);

/* The four operations take the communication timeout as it is when they are called. */
PRELIX10_C_API int prelix10_wlan_setting_init_setting(prelix10_wlan_setting* setting, prelix10_completion completion,
                                                      void* context, prelix10_error** error);
PRELIX10_C_API int prelix10_wlan_setting_load_current_info(prelix10_wlan_setting* setting,
                                                           prelix10_current_wlan_info_completion completion,
                                                           void* context, prelix10_error** error);
/* A mode or security type outside the constants fails with an argument error; NULL strings count as "". */
PRELIX10_C_API int prelix10_wlan_setting_setup_connection(prelix10_wlan_setting* setting,
                                                          const prelix10_ap_info* ap_info,
                                                          prelix10_completion completion, void* context,
                                                          prelix10_error** error);
PRELIX10_C_API int prelix10_wlan_setting_fetch_nearby_access_point_info(prelix10_wlan_setting* setting,
                                                                        prelix10_found_ap_info_completion completion,
                                                                        void* context, prelix10_error** error);


#ifdef __cplusplus
}
#endif

#endif /* PRELIX10_H */
