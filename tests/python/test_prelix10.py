#!/usr/bin/env python3
"""The Python package against the virtual printer on 127.0.0.1: run through run_with_virtual_printer.sh,
which appends the printer's ports."""
import argparse
import os
import signal
import sys
import threading
import time
import unittest

import prelix10

ARGS = None


def setUpModule():
    prelix10.load(ARGS.library)
    prelix10.lan_use_loopback(ARGS.data_port, ARGS.status_port, ARGS.discovery_port)


def receipt(text="Python test\n"):
    with prelix10.PrinterBuilder() as builder, prelix10.DocumentBuilder() as document:
        builder.action_print_text(text).action_cut()
        return document.add_printer(builder).get_commands()


class PrinterTest(unittest.TestCase):
    def setUp(self):
        self.printer = prelix10.Printer(prelix10.INTERFACE_LAN, "127.0.0.1")
        self.printer.open()

    def tearDown(self):
        self.printer.__exit__(None, None, None)

    def test_discovery_finds_the_printer_with_its_model(self):
        printers = prelix10.discover(1)
        self.assertTrue(printers)
        with printers[0] as found:
            self.assertTrue(found.identifier)
            self.assertNotEqual(found.model_name, "unknown")

    def test_print_and_status(self):
        self.printer.print_command(receipt())
        status = self.printer.get_status()
        self.assertFalse(status.has_error)
        self.assertIn("paperJamError", status.detail_json)

    def test_spool_print_then_job_status(self):
        job = self.printer.spool_print(receipt("spooled\n"), note="py")
        self.assertGreaterEqual(job, 0)
        self.assertEqual(self.printer.get_spool_job_status(job).job_id, job)
        self.assertIn(job, [j.job_id for j in self.printer.get_spool_job_status_list(10)])

    def test_configuration_set_then_read_back(self):
        self.printer.set_configuration('{"setting": {"x": 1}}')
        self.assertIn('"x"', self.printer.get_configuration())

    def test_firmware_version_read_through_the_setting_object(self):
        with prelix10.Printer(prelix10.INTERFACE_LAN, "127.0.0.1") as unopened:
            self.assertIsNone(unopened.setting())
        with self.printer.setting() as setting, setting.firmware() as firmware:
            version = firmware.get_current_version()
            self.assertTrue(version)
            self.assertEqual(firmware.current_version, version)

    def test_optional_callback_receives_value_and_error(self):
        got = threading.Event()
        results = []
        self.printer.get_status(callback=lambda value, error: (results.append((value, error)), got.set()))
        self.assertTrue(got.wait(20))
        self.assertIsNotNone(results[0][0])
        self.assertIsNone(results[0][1])

    def test_errors_are_exceptions_with_kind_code_and_message(self):
        with self.assertRaises(prelix10.Prelix10Error) as raised:
            self.printer.print_command("not a command document")
        self.assertTrue(raised.exception.message)
        self.assertEqual(raised.exception.kind, prelix10.ERROR_KINDS[raised.exception.code])
        with prelix10.Printer(prelix10.INTERFACE_LAN, "127.0.0.1") as closed:
            with self.assertRaises(prelix10.Prelix10Error) as raised:
                closed.get_status()
            self.assertEqual(raised.exception.kind, "invalidOperation")
        with self.assertRaises(prelix10.Prelix10Error) as raised:
            prelix10.PrinterBuilder().style_magnification(0, 9)
        self.assertEqual(raised.exception.kind, "argument")

    def test_a_released_object_is_refused(self):
        builder = prelix10.PrinterBuilder()
        builder.release()
        with self.assertRaises(prelix10.Prelix10Error):
            builder.action_print_text("x")

    def test_a_callback_that_raises_is_reported_and_the_library_goes_on(self):
        reported = []
        saved = prelix10.report_callback_error
        prelix10.report_callback_error = lambda: reported.append(sys.exc_info()[1])
        try:
            def boom(_value, _error):
                raise RuntimeError("from the callback")
            self.printer.get_status(callback=boom)
            self.assertFalse(self.printer.get_status().has_error)
            deadline = time.monotonic() + 20
            while not reported and time.monotonic() < deadline:
                time.sleep(0.01)
        finally:
            prelix10.report_callback_error = saved
        self.assertIsInstance(reported[0], RuntimeError)

    def test_delegate_events_reach_python_and_release_inside_an_event_ends_cleanly(self):
        self.printer.close()  # the printer takes one connection at a time
        ready = threading.Event()
        second = prelix10.Printer(prelix10.INTERFACE_LAN, "127.0.0.1")

        def on_ready(printer):
            # Releasing the printer from inside its own event: the thunk running now must survive.
            printer.release()
            ready.set()

        second.set_delegate("printer", printer_is_ready=on_ready)
        second.set_delegate("drawer", did_switch=lambda _p, _open: None)
        second.open()
        self.assertTrue(ready.wait(20))
        with self.assertRaises(TypeError):
            self.printer.set_delegate("printer", no_such_event=print)

    def test_release_inside_a_completion(self):
        self.printer.close()
        done = threading.Event()
        other = prelix10.Printer(prelix10.INTERFACE_LAN, "127.0.0.1")
        other.open(callback=lambda _v, _e: (other.release(), done.set()))
        self.assertTrue(done.wait(20))
        self.printer.open()
        self.assertEqual(self.printer.get_status().has_error, False)

    def test_ctrl_c_interrupts_a_blocking_call_quickly(self):
        # A discovery without a time limit runs until stopped: the wait is ended only by the interrupt.
        discovery = prelix10.Discovery(on_found=lambda _d, p: p.release())
        discovery.start(-1)
        sent = []
        timer = threading.Timer(0.3, lambda: (sent.append(time.monotonic()), os.kill(os.getpid(), signal.SIGINT)))
        timer.start()
        try:
            with self.assertRaises(KeyboardInterrupt):
                discovery.wait(30)
            # The wait is sliced at 0.05 s; the bound is loose only for a loaded machine.
            self.assertLess(time.monotonic() - sent[0], 1.0)
        finally:
            timer.join()
            discovery.release()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--library")
    parser.add_argument("--data-port", type=int, required=True)
    parser.add_argument("--status-port", type=int, required=True)
    parser.add_argument("--discovery-port", type=int, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
