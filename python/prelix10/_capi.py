"""The ctypes declarations of the C interface, all in one place.

Owned char* results are declared c_void_p: a c_char_p result is converted to bytes at once and its
pointer is lost, so it could never be released.
"""
import ctypes
import os
from ctypes import (CFUNCTYPE, POINTER, Structure, c_char_p, c_double, c_int, c_int64, c_size_t, c_uint8,
                    c_uint16, c_void_p)


# Whether caller-filled structs and delegate tables start with a size_t size field (set to their sizeof).
SIZED = False


def _sized_fields(fields):
    return ([("size", c_size_t)] if SIZED else []) + fields


def sized(struct_type, **values):
    """A caller-filled struct with its size field (when it has one) set."""
    record = struct_type(**values)
    if SIZED:
        record.size = ctypes.sizeof(struct_type)
    return record


class Error(Structure):
    _fields_ = [("domain", c_char_p), ("code", c_int), ("message", c_char_p), ("detail_code", c_int),
                ("status", c_void_p), ("user_info_keys", POINTER(c_char_p)), ("user_info_key_count", c_size_t)]


class StatusFlags(Structure):
    _fields_ = _sized_fields([("has_error", c_int), ("cover_open", c_int), ("drawer_open_close_signal", c_int),
                ("paper_empty", c_int), ("paper_near_empty", c_int)])


class SpoolJobSettings(Structure):
    _fields_ = _sized_fields([("is_retry_enabled", c_int), ("timeout", c_int64), ("note", c_char_p)])


class SpoolJobStatus(Structure):
    _fields_ = [("job_id", c_int64), ("job_state", c_int), ("elapsed_time", c_int64),
                ("job_received_interface", c_int), ("app_info", c_char_p), ("host_model", c_char_p),
                ("host_os", c_char_p), ("host_ip_address", c_char_p), ("job_settings", SpoolJobSettings)]


class ApInfo(Structure):
    _fields_ = [("wlan_mode", c_int), ("ssid", c_char_p), ("security_type", c_int), ("password", c_char_p)]


class FoundApInfo(Structure):
    _fields_ = [("ssid", c_char_p), ("bssid", c_char_p), ("channel", c_int), ("rssi", c_int),
                ("security", c_char_p)]


class CurrentWLanInfo(Structure):
    _fields_ = [("ssid", c_char_p), ("mode", c_int), ("channel", c_int), ("bssid", c_char_p),
                ("security_type", c_int), ("rssi", c_int), ("is_passed_ssid", c_int),
                ("is_passed_security_type", c_int), ("is_passed_security_key", c_int)]


ErrorP = POINTER(Error)
ErrOut = POINTER(ErrorP)

Completion = CFUNCTYPE(None, c_void_p, ErrorP)
VoidCompletion = CFUNCTYPE(None, c_void_p)
BytesCompletion = CFUNCTYPE(None, c_void_p, POINTER(c_uint8), c_size_t, ErrorP)
StringCompletion = CFUNCTYPE(None, c_void_p, c_char_p, ErrorP)
IntCompletion = CFUNCTYPE(None, c_void_p, c_int64, ErrorP)
StatusCompletion = CFUNCTYPE(None, c_void_p, c_void_p, ErrorP)
SpoolStatusCompletion = CFUNCTYPE(None, c_void_p, POINTER(SpoolJobStatus), ErrorP)
SpoolListCompletion = CFUNCTYPE(None, c_void_p, POINTER(SpoolJobStatus), c_size_t, ErrorP)
CurrentWLanCompletion = CFUNCTYPE(None, c_void_p, POINTER(CurrentWLanInfo), ErrorP)
FoundApCompletion = CFUNCTYPE(None, c_void_p, POINTER(FoundApInfo), c_size_t, ErrorP)

# Delegate event shapes: (context, object handle, ...).
PrinterEvent = CFUNCTYPE(None, c_void_p, c_void_p)
PrinterErrorEvent = CFUNCTYPE(None, c_void_p, c_void_p, ErrorP)
DrawerSwitchEvent = CFUNCTYPE(None, c_void_p, c_void_p, c_int)
DrawerDetailEvent = CFUNCTYPE(None, c_void_p, c_void_p, c_char_p)
InputReceiveEvent = CFUNCTYPE(None, c_void_p, c_void_p, POINTER(c_uint8), c_size_t)
FoundPrinterEvent = CFUNCTYPE(None, c_void_p, c_void_p, c_void_p)
DiscoveryEvent = CFUNCTYPE(None, c_void_p, c_void_p)


def _table(*events):
    """A delegate table: the leading context, then the named events with their shapes."""
    class Table(Structure):
        _fields_ = _sized_fields([("context", c_void_p)] + list(events))
    return Table


PrinterDelegate = _table(("communication_error_did_occur", PrinterErrorEvent), ("printer_is_ready", PrinterEvent),
                         ("printer_did_have_error", PrinterEvent), ("printer_is_paper_ready", PrinterEvent),
                         ("printer_is_paper_near_empty", PrinterEvent), ("printer_is_paper_empty", PrinterEvent),
                         ("printer_is_cover_open", PrinterEvent), ("printer_is_cover_close", PrinterEvent))
DrawerDelegate = _table(("communication_error_did_occur", PrinterErrorEvent), ("did_switch", DrawerSwitchEvent),
                        ("did_switch_status_details", DrawerDetailEvent))
InputDeviceDelegate = _table(("communication_error_did_occur", PrinterErrorEvent), ("did_connect", PrinterEvent),
                             ("did_disconnect", PrinterEvent), ("did_receive", InputReceiveEvent))
DisplayDelegate = _table(("communication_error_did_occur", PrinterErrorEvent), ("did_connect", PrinterEvent),
                         ("did_disconnect", PrinterEvent))
DiscoveryDelegate = _table(("did_find_printer", FoundPrinterEvent), ("did_finish_discovery", DiscoveryEvent))

H = c_void_p
SIGNATURES = {
    "version": (c_char_p, []),
    "error_release": (None, [ErrorP]),
    "string_release": (None, [c_void_p]),
    "bytes_release": (None, [c_void_p]),
    "lan_use_loopback": (c_int, [c_uint16, c_uint16, c_uint16, ErrOut]),
    "status_get_flags": (c_int, [H, POINTER(StatusFlags), ErrOut]),
    "status_description": (c_void_p, [H, ErrOut]),
    "status_detail_json": (c_void_p, [H, ErrOut]),
    "printer_create": (H, [c_int, c_char_p, c_int, ErrOut]),
    "printer_release": (None, [H]),
    "printer_get_identifier": (c_void_p, [H, ErrOut]),
    "printer_get_interface_type": (c_int, [H, POINTER(c_int), ErrOut]),
    "printer_get_model_name": (c_void_p, [H, ErrOut]),
    "printer_get_timeout": (c_int, [H, c_int, POINTER(c_int), ErrOut]),
    "printer_set_timeout": (c_int, [H, c_int, c_int, ErrOut]),
    "printer_is_opened": (c_int, [H, POINTER(c_int), ErrOut]),
    "printer_get_information_json": (c_int, [H, POINTER(c_void_p), ErrOut]),
    "printer_open": (c_int, [H, Completion, c_void_p, ErrOut]),
    "printer_close": (c_int, [H, VoidCompletion, c_void_p, ErrOut]),
    "printer_write": (c_int, [H, c_char_p, c_size_t, c_int, Completion, c_void_p, ErrOut]),
    "printer_read": (c_int, [H, c_int, BytesCompletion, c_void_p, ErrOut]),
    "printer_print_raw": (c_int, [H, c_char_p, c_size_t, Completion, c_void_p, ErrOut]),
    "printer_print_command": (c_int, [H, c_char_p, Completion, c_void_p, ErrOut]),
    "printer_spool_print": (c_int, [H, c_char_p, POINTER(SpoolJobSettings), IntCompletion, c_void_p, ErrOut]),
    "printer_get_status": (c_int, [H, StatusCompletion, c_void_p, ErrOut]),
    "printer_get_spool_job_status": (c_int, [H, c_int64, SpoolStatusCompletion, c_void_p, ErrOut]),
    "printer_get_spool_job_status_list": (c_int, [H, c_int64, SpoolListCompletion, c_void_p, ErrOut]),
    "printer_set_configuration": (c_int, [H, c_char_p, IntCompletion, c_void_p, ErrOut]),
    "printer_get_configuration": (c_int, [H, c_char_p, StringCompletion, c_void_p, ErrOut]),
    "printer_get_default_configuration": (c_int, [H, StringCompletion, c_void_p, ErrOut]),
    "printer_set_printer_delegate": (c_int, [H, POINTER(PrinterDelegate), ErrOut]),
    "printer_set_drawer_delegate": (c_int, [H, POINTER(DrawerDelegate), ErrOut]),
    "printer_set_input_device_delegate": (c_int, [H, POINTER(InputDeviceDelegate), ErrOut]),
    "printer_set_display_delegate": (c_int, [H, POINTER(DisplayDelegate), ErrOut]),
    "printer_get_setting": (c_int, [H, POINTER(c_void_p), ErrOut]),
    "printer_setting_release": (None, [H]),
    "printer_setting_get_firmware": (c_int, [H, POINTER(c_void_p), ErrOut]),
    "printer_setting_firmware_release": (None, [H]),
    "printer_setting_firmware_current_version": (c_int, [H, POINTER(c_void_p), ErrOut]),
    "printer_setting_firmware_latest_version": (c_int, [H, POINTER(c_void_p), ErrOut]),
    "printer_setting_firmware_is_updatable": (c_int, [H, POINTER(c_int), ErrOut]),
    "printer_setting_firmware_get_current_version": (c_int, [H, StringCompletion, c_void_p, ErrOut]),
    "printer_setting_firmware_check_versions": (c_int, [H, Completion, c_void_p, ErrOut]),
    "printer_builder_create": (H, [ErrOut]),
    "printer_builder_release": (None, [H]),
    "printer_builder_style_alignment": (c_int, [H, c_int, ErrOut]),
    "printer_builder_style_font": (c_int, [H, c_int, ErrOut]),
    "printer_builder_style_bold": (c_int, [H, c_int, ErrOut]),
    "printer_builder_style_invert": (c_int, [H, c_int, ErrOut]),
    "printer_builder_style_underline": (c_int, [H, c_int, ErrOut]),
    "printer_builder_style_magnification": (c_int, [H, c_int, c_int, ErrOut]),
    "printer_builder_action_print_text": (c_int, [H, c_char_p, ErrOut]),
    "printer_builder_action_feed": (c_int, [H, c_double, ErrOut]),
    "printer_builder_action_feed_line": (c_int, [H, c_int, ErrOut]),
    "printer_builder_action_cut": (c_int, [H, c_int, ErrOut]),
    "printer_builder_action_print_barcode": (c_int, [H, c_char_p, c_int, c_double, c_int, ErrOut]),
    "printer_builder_action_print_qr_code": (c_int, [H, c_char_p, c_int, c_int, ErrOut]),
    "printer_builder_action_print_image": (c_int, [H, c_char_p, c_int, c_int, c_int, c_int, c_int, ErrOut]),
    "document_builder_create": (H, [ErrOut]),
    "document_builder_release": (None, [H]),
    "document_builder_add_printer": (c_int, [H, H, ErrOut]),
    "document_builder_add_drawer_open": (c_int, [H, c_int, c_int, ErrOut]),
    "document_builder_add_raw": (c_int, [H, c_char_p, c_size_t, ErrOut]),
    "document_builder_get_commands": (c_void_p, [H, ErrOut]),
    "wlan_setting_create": (c_int, [c_int, c_char_p, c_int, POINTER(c_void_p), ErrOut]),
    "wlan_setting_release": (None, [H]),
    "wlan_setting_init_setting": (c_int, [H, Completion, c_void_p, ErrOut]),
    "wlan_setting_load_current_info": (c_int, [H, CurrentWLanCompletion, c_void_p, ErrOut]),
    "wlan_setting_setup_connection": (c_int, [H, POINTER(ApInfo), Completion, c_void_p, ErrOut]),
    "wlan_setting_fetch_nearby_access_point_info": (c_int, [H, FoundApCompletion, c_void_p, ErrOut]),
    "discovery_create": (H, [POINTER(c_int), c_size_t, ErrOut]),
    "discovery_release": (None, [H]),
    "discovery_set_delegate": (c_int, [H, POINTER(DiscoveryDelegate), ErrOut]),
    "discovery_set_time": (c_int, [H, c_int64, ErrOut]),
    "discovery_start": (c_int, [H, ErrOut]),
    "discovery_stop": (c_int, [H, ErrOut]),
}

# Functions a newer library adds; on an older one they stay absent rather than failing the load.
OPTIONAL = {
    "firmware_cloud_set_service_url": (c_int, [c_char_p, ErrOut]),
    "firmware_cloud_get_service_url": (c_int, [POINTER(c_void_p), ErrOut]),
    "firmware_cloud_set_ca_file": (c_int, [c_char_p, ErrOut]),
}


class Library:
    """The loaded library with its functions declared, reached as lib.name for prelix10_name."""

    def __init__(self, path):
        self.path = path
        self.dll = ctypes.CDLL(path)
        for name, (restype, argtypes) in SIGNATURES.items():
            function = getattr(self.dll, "prelix10_" + name)
            function.restype = restype
            function.argtypes = argtypes
            setattr(self, name, function)
        for name, (restype, argtypes) in OPTIONAL.items():
            function = getattr(self.dll, "prelix10_" + name, None)
            if function is not None:
                function.restype = restype
                function.argtypes = argtypes
                setattr(self, name, function)


def library_path(explicit=None):
    """Where the library is: the argument, else $PRELIX10_LIBRARY, else next to the installed package."""
    if explicit:
        return explicit
    if os.environ.get("PRELIX10_LIBRARY"):
        return os.environ["PRELIX10_LIBRARY"]
    try:
        from . import _paths  # written at install time
        return os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), _paths.LIBRARY))
    except ImportError:
        return "libprelix10.so"
