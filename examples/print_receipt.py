#!/usr/bin/env python3
"""print_receipt.py --library PATH [--data-port N] [--status-port N] [--discovery-port N]

The C interface from Python, with ctypes and nothing else: finds a printer on the LAN, builds a receipt
with the builder functions, opens the printer, prints the receipt, reads the status and closes.

PATH is the shared library (libprelix10.so). Given ports, the LAN layer is kept on loopback (127.0.0.1)
with those ports, for a printer on this host such as `prelix10-virtual-printer --discovery-port 0`, whose
first line tells the ports. Every wait is bounded; the exit status is 0 when all went well.
"""
import argparse
import ctypes
import sys
import threading
from ctypes import (CFUNCTYPE, POINTER, Structure, byref, c_char_p, c_double, c_int, c_int64, c_size_t,
                    c_uint8, c_uint16, c_void_p)

PRELIX10_OK = 0
INTERFACE_LAN = 4
ALIGNMENT_LEFT, ALIGNMENT_CENTER = 0, 1
CUT_PARTIAL = 1
BARCODE_CODE39 = 6
QR_LEVEL_M = 1
DRAWER_1 = 0


class Error(Structure):
    _fields_ = [("domain", c_char_p), ("code", c_int), ("message", c_char_p), ("detail_code", c_int),
                ("status", c_void_p), ("user_info_keys", POINTER(c_char_p)), ("user_info_key_count", c_size_t)]


class StatusFlags(Structure):
    _fields_ = [("has_error", c_int), ("cover_open", c_int), ("drawer_open_close_signal", c_int),
                ("paper_empty", c_int), ("paper_near_empty", c_int)]


Completion = CFUNCTYPE(None, c_void_p, POINTER(Error))
VoidCompletion = CFUNCTYPE(None, c_void_p)
StatusCompletion = CFUNCTYPE(None, c_void_p, c_void_p, POINTER(Error))
FoundPrinter = CFUNCTYPE(None, c_void_p, c_void_p, c_void_p)
FinishedDiscovery = CFUNCTYPE(None, c_void_p, c_void_p)


class DiscoveryDelegate(Structure):
    _fields_ = [("context", c_void_p), ("did_find_printer", FoundPrinter), ("did_finish_discovery", FinishedDiscovery)]


class Prelix10Failure(Exception):
    def __init__(self, what, error):
        super().__init__(f"{what}: {error['message']} (domain {error['domain']}, code {error['code']}, "
                         f"detail {error['detail_code']})")


def describe(error_pointer):
    """The fields of a borrowed error record, copied into Python values; None for no error."""
    if not error_pointer:
        return None
    e = error_pointer.contents
    return {"domain": e.domain.decode(), "code": e.code, "message": e.message.decode(),
            "detail_code": e.detail_code}


class Library:
    def __init__(self, path):
        lib = ctypes.CDLL(path)
        err = POINTER(POINTER(Error))
        signatures = {
            "prelix10_version": (c_char_p, []),
            "prelix10_error_release": (None, [POINTER(Error)]),
            "prelix10_string_release": (None, [c_void_p]),
            "prelix10_lan_use_loopback": (c_int, [c_uint16, c_uint16, c_uint16, err]),
            "prelix10_discovery_create": (c_void_p, [POINTER(c_int), c_size_t, err]),
            "prelix10_discovery_release": (None, [c_void_p]),
            "prelix10_discovery_set_delegate": (c_int, [c_void_p, POINTER(DiscoveryDelegate), err]),
            "prelix10_discovery_set_time": (c_int, [c_void_p, c_int64, err]),
            "prelix10_discovery_start": (c_int, [c_void_p, err]),
            "prelix10_printer_release": (None, [c_void_p]),
            "prelix10_printer_get_identifier": (c_void_p, [c_void_p, err]),
            "prelix10_printer_get_model_name": (c_void_p, [c_void_p, err]),
            "prelix10_printer_open": (c_int, [c_void_p, Completion, c_void_p, err]),
            "prelix10_printer_close": (c_int, [c_void_p, VoidCompletion, c_void_p, err]),
            "prelix10_printer_print_command": (c_int, [c_void_p, c_char_p, Completion, c_void_p, err]),
            "prelix10_printer_get_status": (c_int, [c_void_p, StatusCompletion, c_void_p, err]),
            "prelix10_status_get_flags": (c_int, [c_void_p, POINTER(StatusFlags), err]),
            "prelix10_printer_builder_create": (c_void_p, [err]),
            "prelix10_printer_builder_release": (None, [c_void_p]),
            "prelix10_printer_builder_style_alignment": (c_int, [c_void_p, c_int, err]),
            "prelix10_printer_builder_style_bold": (c_int, [c_void_p, c_int, err]),
            "prelix10_printer_builder_style_magnification": (c_int, [c_void_p, c_int, c_int, err]),
            "prelix10_printer_builder_action_print_text": (c_int, [c_void_p, c_char_p, err]),
            "prelix10_printer_builder_action_feed": (c_int, [c_void_p, c_double, err]),
            "prelix10_printer_builder_action_cut": (c_int, [c_void_p, c_int, err]),
            "prelix10_printer_builder_action_print_barcode": (c_int, [c_void_p, c_char_p, c_int, c_double, c_int,
                                                                      err]),
            "prelix10_printer_builder_action_print_qr_code": (c_int, [c_void_p, c_char_p, c_int, c_int, err]),
            "prelix10_printer_builder_action_print_image": (c_int, [c_void_p, POINTER(c_uint8), c_int, c_int,
                                                                    c_int, c_int, c_int, err]),
            "prelix10_document_builder_create": (c_void_p, [err]),
            "prelix10_document_builder_release": (None, [c_void_p]),
            "prelix10_document_builder_add_printer": (c_int, [c_void_p, c_void_p, err]),
            "prelix10_document_builder_add_drawer_open": (c_int, [c_void_p, c_int, c_int, err]),
            "prelix10_document_builder_get_commands": (c_void_p, [c_void_p, err]),
        }
        for name, (restype, argtypes) in signatures.items():
            function = getattr(lib, name)
            function.restype = restype
            function.argtypes = argtypes
        self.lib = lib

    def __getattr__(self, name):
        return getattr(self.lib, "prelix10_" + name)

    def call(self, what, name, *args):
        """Calls a function that reports failure through its last argument; raises on failure."""
        error = POINTER(Error)()
        result = getattr(self.lib, "prelix10_" + name)(*args, byref(error))
        if error:
            details = describe(error)
            self.error_release(error)
            raise Prelix10Failure(what, details)
        return result

    def owned_text(self, pointer):
        if not pointer:
            return None
        text = ctypes.string_at(pointer).decode()
        self.string_release(pointer)
        return text


class Outcome:
    """One operation's report, handed from the library's thread to the main thread."""

    def __init__(self):
        self.event = threading.Event()
        self.error = None
        self.value = None

    def finish(self, error=None, value=None):
        self.error, self.value = error, value
        self.event.set()

    def wait(self, what, seconds):
        if not self.event.wait(seconds):
            raise TimeoutError(f"{what}: no report within {seconds} s")
        if self.error is not None:
            raise Prelix10Failure(what, self.error)
        return self.value


def build_receipt(lib):
    p = lib.call("builder", "printer_builder_create")
    d = lib.call("builder", "document_builder_create")
    try:
        logo = (c_uint8 * (16 * 8))(*[0x00 if (i % 16) < 8 else 0xFF for i in range(16 * 8)])
        lib.call("alignment", "printer_builder_style_alignment", p, ALIGNMENT_CENTER)
        lib.call("image", "printer_builder_action_print_image", p, logo, 16, 8, 64, 0, 127)
        lib.call("bold", "printer_builder_style_bold", p, 1)
        lib.call("magnification", "printer_builder_style_magnification", p, 2, 2)
        lib.call("text", "printer_builder_action_print_text", p, b"Corner Cafe\n")
        lib.call("magnification", "printer_builder_style_magnification", p, 1, 1)
        lib.call("bold", "printer_builder_style_bold", p, 0)
        lib.call("alignment", "printer_builder_style_alignment", p, ALIGNMENT_LEFT)
        for line in ("Espresso            2.40\n", "Croissant           1.90\n", "Total               4.30\n"):
            lib.call("text", "printer_builder_action_print_text", p, line.encode())
        lib.call("alignment", "printer_builder_style_alignment", p, ALIGNMENT_CENTER)
        lib.call("barcode", "printer_builder_action_print_barcode", p, b"ORDER-0042", BARCODE_CODE39, 10.0, 1)
        lib.call("QR code", "printer_builder_action_print_qr_code", p, b"https://example.com/r/0042", QR_LEVEL_M, 4)
        lib.call("feed", "printer_builder_action_feed", p, 3.0)
        lib.call("cut", "printer_builder_action_cut", p, CUT_PARTIAL)
        lib.call("document", "document_builder_add_printer", d, p)
        lib.call("drawer", "document_builder_add_drawer_open", d, DRAWER_1, 200)
        return lib.owned_text(lib.call("document", "document_builder_get_commands", d))
    finally:
        lib.document_builder_release(d)
        lib.printer_builder_release(p)


def find_printer(lib):
    """The first printer a three-second LAN discovery finds (an owned handle), or None."""
    found = []
    finished = threading.Event()
    lock = threading.Lock()

    def on_found(_context, _discovery, printer):
        identifier = lib.owned_text(lib.printer_get_identifier(printer, None))
        model = lib.owned_text(lib.printer_get_model_name(printer, None))
        print(f"found {identifier}: model {model}", flush=True)
        with lock:
            if not found:
                found.append(printer)
                return
        lib.printer_release(printer)

    def on_finished(_context, _discovery):
        finished.set()

    # The callbacks must outlive the discovery: they are kept in local variables until it is released.
    delegate = DiscoveryDelegate(None, FoundPrinter(on_found), FinishedDiscovery(on_finished))
    interfaces = (c_int * 1)(INTERFACE_LAN)
    discovery = lib.call("discovery", "discovery_create", interfaces, 1)
    try:
        lib.call("discovery", "discovery_set_delegate", discovery, byref(delegate))
        lib.call("discovery", "discovery_set_time", discovery, 3000)
        lib.call("discovery", "discovery_start", discovery)
        if not finished.wait(20):
            print("discovery: no end within 20 s", file=sys.stderr)
    finally:
        # Once released, no callback runs any more.
        lib.discovery_release(discovery)
    return found[0] if found else None


def main():
    parser = argparse.ArgumentParser(description="Print a receipt through the C interface.")
    parser.add_argument("--library", required=True, help="path of libprelix10.so")
    parser.add_argument("--data-port", type=int, default=0)
    parser.add_argument("--status-port", type=int, default=0)
    parser.add_argument("--discovery-port", type=int, default=0)
    args = parser.parse_args()

    lib = Library(args.library)
    print(f"prelix10 {lib.version().decode()}")
    if args.data_port or args.status_port or args.discovery_port:
        lib.call("loopback", "lan_use_loopback", args.data_port, args.status_port, args.discovery_port)

    printer = find_printer(lib)
    if printer is None:
        print("no printer found", file=sys.stderr)
        return 1
    receipt = build_receipt(lib)
    print(f"receipt: {len(receipt)} bytes of command document")

    # Completions run on the library's thread; each hands its result to an Outcome.
    def on_done(context, error):
        outcomes[context].finish(describe(error))

    def on_status(context, status, error):
        value = None
        if status:
            flags = StatusFlags()
            # The status is borrowed: read it here, during the callback.
            if lib.status_get_flags(status, byref(flags), None) == PRELIX10_OK:
                value = {name: getattr(flags, name) for name, _ in StatusFlags._fields_}
        outcomes[context].finish(describe(error), value)

    def on_closed(context):
        outcomes[context].finish()

    done, status_done, closed = Completion(on_done), StatusCompletion(on_status), VoidCompletion(on_closed)
    outcomes = {}

    def run(what, seconds, start, callback):
        key = len(outcomes) + 1
        outcomes[key] = Outcome()
        lib.call(what, start, printer, *([] if start != "printer_print_command" else [receipt.encode()]),
                 callback, key)
        return outcomes[key].wait(what, seconds)

    failed = 0
    try:
        run("open", 30, "printer_open", done)
        run("print", 60, "printer_print_command", done)
        print("printed")
        flags = run("status", 30, "printer_get_status", status_done)
        print("status: " + " ".join(f"{name}={value}" for name, value in flags.items()))
    except (Prelix10Failure, TimeoutError) as failure:
        print(failure, file=sys.stderr)
        failed = 1
    finally:
        try:
            run("close", 30, "printer_close", closed)
        except TimeoutError as failure:
            print(failure, file=sys.stderr)
            failed = 1
        lib.printer_release(printer)
    return failed


if __name__ == "__main__":
    sys.exit(main())
