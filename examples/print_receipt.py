#!/usr/bin/env python3
"""Finds a printer on the LAN, prints a receipt, reads the status. Ports keep the LAN on 127.0.0.1."""
import argparse
import prelix10 as p

a = argparse.ArgumentParser()
for o in ("--library", "--data-port", "--status-port", "--discovery-port"):
    a.add_argument(o, type=None if o == "--library" else int, default=None if o == "--library" else 0)
args = a.parse_args()
p.load(args.library)
if args.data_port or args.status_port or args.discovery_port:
    p.lan_use_loopback(args.data_port, args.status_port, args.discovery_port)
receipt = (p.PrinterBuilder().style_alignment(p.ALIGNMENT_CENTER).style_bold().style_magnification(2, 2)
           .action_print_text("Corner Cafe\n").style_magnification(1, 1).style_bold(False)
           .style_alignment(p.ALIGNMENT_LEFT).action_print_text("Espresso            2.40\nTotal  2.40\n")
           .action_print_barcode("ORDER-0042", p.BARCODE_CODE39).action_print_qr_code("https://example.com/r/42")
           .action_feed(3).action_cut(p.CUT_PARTIAL))
document = p.DocumentBuilder().add_printer(receipt).add_drawer_open(p.DRAWER_1, 200).get_commands()
printers = p.discover(3)
if not printers:
    raise SystemExit("no printer found")
with printers[0] as printer:
    printer.open()
    printer.print_command(document)
    print("printed; printer error:", printer.get_status().has_error)
