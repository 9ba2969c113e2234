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
 * lives: releasing it clears them, as a weakly held delegate goes with its owner. */
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
