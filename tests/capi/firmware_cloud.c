/* firmware_cloud URL CA_FILE DATA_PORT STATUS_PORT DISCOVERY_PORT
 *
 * A firmware check and update through the C interface alone, as an application linked to the shared
 * library does it: the cloud service's address and authority are set with the C functions, the printer
 * on loopback is opened, its versions checked and its firmware updated. Every wait is bounded; the exit
 * status is 0 when the printer reports the version the service offered.
 */
#define _POSIX_C_SOURCE 200809L

#include <errno.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "prelix10/capi/prelix10.h"

typedef struct waiter {
    pthread_mutex_t mutex;
    pthread_cond_t condition;
    int done;
    int failed;
    char message[256];
} waiter;

static void waiterInit(waiter* w) {
    pthread_mutex_init(&w->mutex, NULL);
    pthread_cond_init(&w->condition, NULL);
    w->done = 0;
    w->failed = 0;
    w->message[0] = '\0';
}

static void onDone(void* context, const prelix10_error* error) {
    waiter* w = (waiter*)context;
    pthread_mutex_lock(&w->mutex);
    if (error != NULL) {
        w->failed = 1;
        snprintf(w->message, sizeof w->message, "%s (detail %d)", error->message, error->detail_code);
    }
    w->done = 1;
    pthread_cond_signal(&w->condition);
    pthread_mutex_unlock(&w->mutex);
}

static void onClosed(void* context) {
    onDone(context, NULL);
}

/* 0 when the operation ended without an error within the bound. */
static int await(waiter* w, const char* what) {
    struct timespec end;
    int result;
    clock_gettime(CLOCK_REALTIME, &end);
    end.tv_sec += 60;
    pthread_mutex_lock(&w->mutex);
    while (!w->done) {
        if (pthread_cond_timedwait(&w->condition, &w->mutex, &end) == ETIMEDOUT) break;
    }
    result = w->done && !w->failed ? 0 : 1;
    if (!w->done) fprintf(stderr, "%s: no completion\n", what);
    else if (w->failed) fprintf(stderr, "%s: %s\n", what, w->message);
    w->done = 0;
    w->failed = 0;
    pthread_mutex_unlock(&w->mutex);
    return result;
}

static int fail(const char* what, prelix10_error* error) {
    fprintf(stderr, "%s: %s\n", what, error != NULL ? error->message : "failed");
    prelix10_error_release(error);
    return 1;
}

int main(int argc, char** argv) {
    prelix10_error* error = NULL;
    prelix10_printer* printer;
    prelix10_printer_setting* setting = NULL;
    prelix10_printer_setting_firmware* firmware = NULL;
    char* text = NULL;
    int enabled = -1;
    int rc = 0;
    waiter w;

    if (argc != 6) {
        fprintf(stderr, "usage: firmware_cloud URL CA_FILE DATA_PORT STATUS_PORT DISCOVERY_PORT\n");
        return 2;
    }
    waiterInit(&w);
    if (prelix10_lan_use_loopback((uint16_t)atoi(argv[3]), (uint16_t)atoi(argv[4]), (uint16_t)atoi(argv[5]),
                                  &error) != 0)
        return fail("loopback", error);
    if (prelix10_firmware_cloud_set_service_url("http://127.0.0.1", &error) == 0) {
        fprintf(stderr, "a plain http address was taken\n");
        return 1;
    }
    prelix10_error_release(error);
    error = NULL;
    if (prelix10_firmware_cloud_set_service_url(argv[1], &error) != 0) return fail("service url", error);
    if (prelix10_firmware_cloud_set_ca_file(argv[2], &error) != 0) return fail("ca file", error);
    if (prelix10_firmware_cloud_set_diagnostic_upload(0, &error) != 0) return fail("diagnostics", error);
    if (prelix10_firmware_cloud_get_diagnostic_upload(&enabled, &error) != 0 || enabled != 0)
        return fail("diagnostics read", error);
    if (prelix10_firmware_cloud_get_service_url(&text, &error) != 0 || strcmp(text, argv[1]) != 0)
        return fail("service url read", error);
    prelix10_string_release(text);
    text = NULL;

    printer = prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, &error);
    if (printer == NULL) return fail("create", error);
    if (prelix10_printer_open(printer, onDone, &w, &error) != 0) return fail("open", error);
    if (await(&w, "open") != 0) return 1;
    if (prelix10_printer_get_setting(printer, &setting, &error) != 0 || setting == NULL)
        return fail("setting", error);
    if (prelix10_printer_setting_get_firmware(setting, &firmware, &error) != 0 || firmware == NULL)
        return fail("firmware", error);

    if (prelix10_printer_setting_firmware_check_versions(firmware, onDone, &w, &error) != 0)
        return fail("check", error);
    rc |= await(&w, "check");
    if (prelix10_printer_setting_firmware_latest_version(firmware, &text, &error) != 0) return fail("latest", error);
    printf("latest %s\n", text != NULL ? text : "(none)");
    prelix10_string_release(text);
    text = NULL;

    if (prelix10_printer_setting_firmware_update(firmware, onDone, &w, &error) != 0) return fail("update", error);
    rc |= await(&w, "update");
    if (prelix10_printer_setting_firmware_current_version(firmware, &text, &error) != 0)
        return fail("current", error);
    printf("current %s\n", text);
    prelix10_string_release(text);

    prelix10_printer_setting_firmware_release(firmware);
    prelix10_printer_setting_release(setting);
    if (prelix10_printer_close(printer, onClosed, &w, &error) != 0) return fail("close", error);
    rc |= await(&w, "close");
    prelix10_printer_release(printer);
    return rc;
}
