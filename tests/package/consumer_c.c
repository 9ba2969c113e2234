/* A C program outside the library's tree: it finds prelix10.h and the library through the package files,
 * builds a receipt with the builder functions and checks the argument error of a released handle. Exit
 * status 0 when everything matches. */
#include <stdio.h>
#include <string.h>

#include "prelix10/capi/prelix10.h"

int main(void) {
    prelix10_printer_builder* p = prelix10_printer_builder_create(NULL);
    prelix10_document_builder* d = prelix10_document_builder_create(NULL);
    prelix10_printer* printer;
    prelix10_error* error = NULL;
    char* commands;
    int ok;
    prelix10_printer_builder_action_print_text(p, "Hello\n", NULL);
    prelix10_printer_builder_action_cut(p, PRELIX10_CUT_PARTIAL, NULL);
    prelix10_document_builder_add_printer(d, p, NULL);
    commands = prelix10_document_builder_get_commands(d, NULL);
    ok = commands != NULL && strstr(commands, "Hello") != NULL;
    prelix10_string_release(commands);
    prelix10_document_builder_release(d);
    prelix10_printer_builder_release(p);
    if (!ok) {
        fprintf(stderr, "consumer_c: the receipt is wrong\n");
        return 1;
    }
    printer = prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, NULL);
    prelix10_printer_release(printer);
    if (prelix10_printer_open(printer, NULL, NULL, &error) != PRELIX10_FAILED || error == NULL ||
        error->code != PRELIX10_ERROR_ARGUMENT || strcmp(error->domain, PRELIX10_ERROR_DOMAIN) != 0) {
        fprintf(stderr, "consumer_c: a released handle was accepted\n");
        return 1;
    }
    prelix10_error_release(error);
    printf("prelix10 %s from C: ok\n", prelix10_version());
    return 0;
}
