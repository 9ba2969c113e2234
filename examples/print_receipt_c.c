/* print_receipt_c [--data-port N] [--status-port N] [--discovery-port N]
 *
 * The C interface end to end: finds a printer on the LAN, builds a receipt with the builder functions,
 * opens the printer, prints the receipt, reads the status and closes. Given ports, the LAN layer is kept
 * on loopback (127.0.0.1) with those ports, for a printer that runs on this host, such as
 *
 *   prelix10-virtual-printer --discovery-port 0
 *
 * whose first line tells the ports. Every wait is bounded; the exit status is 0 when all went well.
 */
#define _POSIX_C_SOURCE 200809L

#include <errno.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "prelix10/capi/prelix10.h"

/* One operation's outcome, handed from the library's thread to main. */
typedef struct waiter {
    pthread_mutex_t mutex;
    pthread_cond_t condition;
    int done;
    prelix10_error* error; /* a copy of the completion's error, or NULL */
    prelix10_status* status;
    prelix10_printer* found;
} waiter;

static void waiter_init(waiter* w) {
    memset(w, 0, sizeof *w);
    pthread_mutex_init(&w->mutex, NULL);
    pthread_cond_init(&w->condition, NULL);
}

static void waiter_reset(waiter* w) {
    pthread_mutex_lock(&w->mutex);
    w->done = 0;
    prelix10_error_release(w->error);
    w->error = NULL;
    pthread_mutex_unlock(&w->mutex);
}

static void waiter_finish(waiter* w, const prelix10_error* error) {
    pthread_mutex_lock(&w->mutex);
    /* The error is borrowed for the callback only: keep a copy. */
    if (error != NULL) w->error = prelix10_error_copy(error);
    w->done = 1;
    pthread_cond_broadcast(&w->condition);
    pthread_mutex_unlock(&w->mutex);
}

/* 1 when the operation ended within the time, 0 on timeout. */
static int waiter_wait(waiter* w, int seconds) {
    struct timespec deadline;
    int ok;
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += seconds;
    pthread_mutex_lock(&w->mutex);
    while (!w->done) {
        if (pthread_cond_timedwait(&w->condition, &w->mutex, &deadline) == ETIMEDOUT) break;
    }
    ok = w->done;
    pthread_mutex_unlock(&w->mutex);
    return ok;
}

static int report(const char* what, const prelix10_error* error) {
    if (error == NULL) return 0;
    fprintf(stderr, "%s: %s (domain %s, code %d, detail %d)\n", what, error->message, error->domain,
            error->code, error->detail_code);
    return 1;
}

static void on_done(void* context, const prelix10_error* error) {
    waiter_finish((waiter*)context, error);
}

static void on_closed(void* context) {
    waiter_finish((waiter*)context, NULL);
}

static void on_status(void* context, const prelix10_status* status, const prelix10_error* error) {
    waiter* w = (waiter*)context;
    /* The status too is borrowed: keep a handle of our own. */
    if (status != NULL) w->status = prelix10_status_copy(status, NULL);
    waiter_finish(w, error);
}

static void on_found(void* context, prelix10_discovery* discovery, prelix10_printer* printer) {
    waiter* w = (waiter*)context;
    char* identifier = prelix10_printer_get_identifier(printer, NULL);
    char* model = prelix10_printer_get_model_name(printer, NULL);
    (void)discovery;
    printf("found %s: model %s\n", identifier ? identifier : "?", model ? model : "?");
    prelix10_string_release(identifier);
    prelix10_string_release(model);
    pthread_mutex_lock(&w->mutex);
    if (w->found == NULL) {
        w->found = printer; /* the handle is ours */
        printer = NULL;
    }
    pthread_mutex_unlock(&w->mutex);
    prelix10_printer_release(printer);
}

static void on_finished(void* context, prelix10_discovery* discovery) {
    (void)discovery;
    waiter_finish((waiter*)context, NULL);
}

/* The receipt, as a command document; NULL on failure. */
static char* build_receipt(void) {
    prelix10_printer_builder* p = prelix10_printer_builder_create(NULL);
    prelix10_document_builder* d = prelix10_document_builder_create(NULL);
    prelix10_error* error = NULL;
    char* commands = NULL;
    uint8_t logo[16 * 8];
    int i;
    int failed = 0;
    for (i = 0; i < 16 * 8; ++i) logo[i] = (uint8_t)((i % 16) < 8 ? 0x00 : 0xFF); /* two bands */
    failed |= prelix10_printer_builder_style_alignment(p, PRELIX10_ALIGNMENT_CENTER, &error);
    failed |= prelix10_printer_builder_action_print_image(p, logo, 16, 8, 64, 0, 127, &error);
    failed |= prelix10_printer_builder_style_bold(p, 1, &error);
    failed |= prelix10_printer_builder_style_magnification(p, 2, 2, &error);
    failed |= prelix10_printer_builder_action_print_text(p, "Corner Cafe\n", &error);
    failed |= prelix10_printer_builder_style_magnification(p, 1, 1, &error);
    failed |= prelix10_printer_builder_style_bold(p, 0, &error);
    failed |= prelix10_printer_builder_style_alignment(p, PRELIX10_ALIGNMENT_LEFT, &error);
    failed |= prelix10_printer_builder_action_print_text(p, "Espresso            2.40\n", &error);
    failed |= prelix10_printer_builder_action_print_text(p, "Croissant           1.90\n", &error);
    failed |= prelix10_printer_builder_style_underline(p, 1, &error);
    failed |= prelix10_printer_builder_action_print_text(p, "Total               4.30\n", &error);
    failed |= prelix10_printer_builder_style_underline(p, 0, &error);
    failed |= prelix10_printer_builder_style_alignment(p, PRELIX10_ALIGNMENT_CENTER, &error);
    failed |= prelix10_printer_builder_action_print_barcode(p, "ORDER-0042", PRELIX10_BARCODE_CODE39, 10.0, 1,
                                                            &error);
    failed |= prelix10_printer_builder_action_print_qr_code(p, "https://example.com/r/0042",
                                                            PRELIX10_QR_LEVEL_M, 4, &error);
    failed |= prelix10_printer_builder_action_feed(p, 3.0, &error);
    failed |= prelix10_printer_builder_action_cut(p, PRELIX10_CUT_PARTIAL, &error);
    failed |= prelix10_document_builder_add_printer(d, p, &error);
    failed |= prelix10_document_builder_add_drawer_open(d, PRELIX10_DRAWER_1, 200, &error);
    if (!failed) commands = prelix10_document_builder_get_commands(d, &error);
    if (error != NULL) report("build", error);
    prelix10_error_release(error);
    prelix10_document_builder_release(d);
    prelix10_printer_builder_release(p);
    return commands;
}

int main(int argc, char** argv) {
    int data_port = 0, status_port = 0, discovery_port = 0;
    int interfaces[1] = {PRELIX10_INTERFACE_LAN};
    prelix10_discovery_delegate delegate;
    prelix10_discovery* discovery;
    prelix10_printer* printer;
    prelix10_status_flags flags;
    prelix10_error* error = NULL;
    waiter w;
    char* receipt;
    int i, failed = 0;

    for (i = 1; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--data-port") == 0)
            data_port = atoi(argv[i + 1]);
        else if (strcmp(argv[i], "--status-port") == 0)
            status_port = atoi(argv[i + 1]);
        else if (strcmp(argv[i], "--discovery-port") == 0)
            discovery_port = atoi(argv[i + 1]);
        else
            break;
    }
    if (i != argc) {
        fprintf(stderr, "usage: print_receipt_c [--data-port N] [--status-port N] [--discovery-port N]\n");
        return 2;
    }
    printf("prelix10 %s\n", prelix10_version());
    if (data_port || status_port || discovery_port) {
        prelix10_lan_use_loopback((uint16_t)data_port, (uint16_t)status_port, (uint16_t)discovery_port, NULL);
    }
    waiter_init(&w);

    /* Discovery: the first printer found is kept; the run ends by itself after three seconds. */
    discovery = prelix10_discovery_create(interfaces, 1, &error);
    if (discovery == NULL) return report("discovery", error);
    memset(&delegate, 0, sizeof delegate);
    delegate.context = &w;
    delegate.did_find_printer = on_found;
    delegate.did_finish_discovery = on_finished;
    prelix10_discovery_set_delegate(discovery, &delegate, NULL);
    prelix10_discovery_set_time(discovery, 3000, NULL);
    if (prelix10_discovery_start(discovery, &error) != PRELIX10_OK) return report("discovery", error);
    if (!waiter_wait(&w, 20)) fprintf(stderr, "discovery: no end within 20 s\n");
    prelix10_discovery_release(discovery);
    printer = w.found;
    if (printer == NULL) {
        fprintf(stderr, "no printer found\n");
        return 1;
    }

    receipt = build_receipt();
    if (receipt == NULL) return 1;
    printf("receipt: %zu bytes of command document\n", strlen(receipt));

    waiter_reset(&w);
    prelix10_printer_open(printer, on_done, &w, NULL);
    if (!waiter_wait(&w, 30) || report("open", w.error)) failed = 1;

    if (!failed) {
        waiter_reset(&w);
        prelix10_printer_print_command(printer, receipt, on_done, &w, NULL);
        if (!waiter_wait(&w, 60) || report("print", w.error))
            failed = 1;
        else
            printf("printed\n");
    }
    if (!failed) {
        waiter_reset(&w);
        prelix10_printer_get_status(printer, on_status, &w, NULL);
        if (!waiter_wait(&w, 30) || report("status", w.error) ||
            prelix10_status_get_flags(w.status, &flags, &error) != PRELIX10_OK) {
            failed = 1;
        } else {
            printf(
                "status: hasError=%d coverOpen=%d paperEmpty=%d paperNearEmpty=%d drawerOpenCloseSignal=%d\n",
                flags.has_error, flags.cover_open, flags.paper_empty, flags.paper_near_empty,
                flags.drawer_open_close_signal);
        }
        prelix10_status_release(w.status);
    }

    waiter_reset(&w);
    prelix10_printer_close(printer, on_closed, &w, NULL);
    if (!waiter_wait(&w, 30)) failed = 1;
    waiter_reset(&w);
    prelix10_printer_release(printer);
    prelix10_string_release(receipt);
    prelix10_error_release(error);
    pthread_mutex_destroy(&w.mutex);
    pthread_cond_destroy(&w.condition);
    return failed;
}
