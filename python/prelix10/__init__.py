"""Prelix10 from Python: printers, discovery and command documents over the C interface (ctypes only).

Blocking calls wait for the library's report and return its value or raise Prelix10Error; given a
`callback`, a call returns at once and the callback later receives (value, error) on a library thread.
Delegate events are plain callables. Objects are context managers that close and release.
"""
import ctypes
import itertools
import sys
import threading
import traceback
from ctypes import byref, c_int, c_void_p

from . import _capi

__all__ = ["Prelix10Error", "Printer", "Discovery", "PrinterBuilder", "DocumentBuilder", "PrinterSetting", "WLanSetting",
           "StatusFlags", "load", "version", "lan_use_loopback", "INTERFACE_LAN", "INTERFACE_USB",
           "INTERFACE_BLUETOOTH", "INTERFACE_BLUETOOTH_LE"]

INTERFACE_UNKNOWN, INTERFACE_USB, INTERFACE_BLUETOOTH, INTERFACE_BLUETOOTH_LE, INTERFACE_LAN = range(5)
TIMEOUT_OPEN, TIMEOUT_GET_STATUS, TIMEOUT_PRINT, TIMEOUT_CONFIGURATION = range(4)
ALIGNMENT_LEFT, ALIGNMENT_CENTER, ALIGNMENT_RIGHT = range(3)
FONT_A, FONT_B = range(2)
CUT_FULL, CUT_PARTIAL, CUT_FULL_DIRECT, CUT_PARTIAL_DIRECT, CUT_TEAR_OFF = range(5)
(BARCODE_UPC_E, BARCODE_UPC_A, BARCODE_JAN8, BARCODE_EAN8, BARCODE_JAN13, BARCODE_EAN13, BARCODE_CODE39,
 BARCODE_ITF, BARCODE_CODE128, BARCODE_CODE93, BARCODE_NW7) = range(11)
QR_LEVEL_L, QR_LEVEL_M, QR_LEVEL_Q, QR_LEVEL_H = range(4)
DRAWER_1, DRAWER_2, DRAWER_3, DRAWER_4 = range(4)

WLAN_MODE_UNKNOWN, WLAN_MODE_INFRASTRUCTURE, WLAN_MODE_ACCESS_POINT = 0x30, 0x31, 0x32
(WLAN_SECURITY_UNKNOWN, WLAN_SECURITY_OPEN, WLAN_SECURITY_WPA_PERSONAL, WLAN_SECURITY_WPA2_PERSONAL,
 WLAN_SECURITY_WPA3_SAE, WLAN_SECURITY_AUTO) = range(6)

ERROR_KINDS = ("unknown", "argument", "badResponse", "communication", "illegalDeviceState", "inUse",
               "invalidOperation", "notFound", "unprintable", "unsupportedModel", "unsupportedOSVersion",
               "authentication", "serverCommunication")

# How long one slice of a wait lasts: a pending Ctrl-C is seen between slices.
_WAIT_SLICE = 0.05

_lib = None
_lib_lock = threading.Lock()


def load(path=None):
    """Loads the library (once): from path, $PRELIX10_LIBRARY, or where the package was installed with it."""
    global _lib
    with _lib_lock:
        if _lib is None:
            _lib = _capi.Library(_capi.library_path(path))
        return _lib


def _l():
    return _lib if _lib is not None else load()


def version():
    return _l().version().decode()


class Prelix10Error(Exception):
    """A failure the library reported: kind (name), code (the kind's number), detail (code or 0), message."""

    def __init__(self, code, message, detail=0, domain=None):
        self.code = code
        self.kind = ERROR_KINDS[code] if 0 <= code < len(ERROR_KINDS) else str(code)
        self.detail = detail
        self.message = message
        self.domain = domain
        super().__init__(f"{message} ({self.kind}, code {code}, detail {detail})")

    @classmethod
    def _from(cls, pointer):
        e = pointer.contents
        text = lambda b: b.decode("utf-8", "replace") if b else ""
        return cls(e.code, text(e.message), e.detail_code, text(e.domain))


def _call(function, *args):
    """Calls a function that reports failure through its last argument; raises Prelix10Error on failure."""
    error = _capi.ErrorP()
    result = function(*args, byref(error))
    if error:
        failure = Prelix10Error._from(error)
        _l().error_release(error)
        raise failure
    return result


def _get(function, *args):
    """A handle or owned pointer, whether the function returns it or fills an out-parameter."""
    if function.restype is c_int:
        out = c_void_p()
        _call(function, *args, byref(out))
        return out.value
    return _call(function, *args)


def _owned_text(pointer):
    if not pointer:
        return None
    try:
        return ctypes.string_at(pointer).decode("utf-8", "replace")
    finally:
        _l().string_release(pointer)


def _text_out(function, *args):
    out = c_void_p()
    _call(function, *args, byref(out))
    return _owned_text(out.value)


def _int_out(function, *args):
    out = c_int()
    _call(function, *args, byref(out))
    return out.value


def _encode(text):
    return None if text is None else text.encode() if isinstance(text, str) else bytes(text)


def report_callback_error():
    """Reports an exception a callback raised; the library goes on. Replace it to collect them."""
    traceback.print_exc(file=sys.stderr)


def _guarded(function, *args):
    try:
        function(*args)
    except BaseException:  # noqa: B036 - nothing may unwind into the library's thread
        try:
            sys.modules[__name__].report_callback_error()
        except BaseException:
            pass


_in_callback = threading.local()
_running = [0]  # callbacks running now, on any thread
_running_lock = threading.Lock()


def _event(function, *args):
    """Runs a user callable for the library, counted so that a release inside it defers dropping the thunks."""
    depth = getattr(_in_callback, "depth", 0)
    _in_callback.depth = depth + 1
    with _running_lock:
        _running[0] += 1
    try:
        _guarded(function, *args)
    finally:
        _in_callback.depth = depth
        with _running_lock:
            _running[0] -= 1


# Thunks the library may still be running: a release from inside a callback parks them here, since freeing
# a ctypes thunk while it runs crashes; they are dropped by a later release made while no callback runs.
_retired = []


def _retire(keep):
    with _running_lock:
        if getattr(_in_callback, "depth", 0) or _running[0]:
            if keep:
                _retired.append(keep)
        else:
            _retired.clear()


# ---- Operations: one permanent trampoline per completion shape, the context picks the pending call. ----

class _Pending:
    def __init__(self, callback):
        self.callback = callback
        self.done = threading.Event()
        self.value = None
        self.error = None


_pending = {}
_pending_lock = threading.Lock()
_keys = itertools.count(1)


def _finish(context, value, error_pointer):
    with _pending_lock:
        pending = _pending.pop(context or 0, None)
    if pending is None:
        return
    pending.error = Prelix10Error._from(error_pointer) if error_pointer else None
    pending.value = value
    if pending.callback is not None:
        _event(pending.callback, pending.value, pending.error)
    pending.done.set()


def _status_value(status):
    if not status:
        return None
    flags = _capi.sized(_capi.StatusFlags)
    if _l().status_get_flags(status, byref(flags), None) != 0:
        return None
    return StatusFlags(**{name: bool(getattr(flags, name)) for name, _ in _capi.StatusFlags._fields_
                          if name != "size"},
                       description=_status_text(_l().status_description, status),
                       detail_json=_status_text(_l().status_detail_json, status))


def _status_text(function, status):
    try:
        return _owned_text(_get(function, status))
    except Prelix10Error:
        return None


def _fields(record):
    """A borrowed C record as a dict of Python values (strings decoded)."""
    value = lambda v: v.decode("utf-8", "replace") if isinstance(v, bytes) else v
    return {name: value(getattr(record, name)) for name, _ in record._fields_}


def _job(s):
    text = lambda b: b.decode("utf-8", "replace") if b else None
    return SpoolJob(s.job_id, s.job_state, s.elapsed_time, s.job_received_interface, text(s.app_info),
                    text(s.host_model), text(s.host_os), text(s.host_ip_address),
                    bool(s.job_settings.is_retry_enabled), s.job_settings.timeout, text(s.job_settings.note))


_T = {
    "done": _capi.Completion(lambda c, e: _finish(c, None, e)),
    "void": _capi.VoidCompletion(lambda c: _finish(c, None, None)),
    "bytes": _capi.BytesCompletion(lambda c, d, n, e: _finish(c, ctypes.string_at(d, n) if d else None, e)),
    "string": _capi.StringCompletion(lambda c, t, e: _finish(c, t.decode("utf-8", "replace") if t is not None
                                                             else None, e)),
    "int": _capi.IntCompletion(lambda c, v, e: _finish(c, v, e)),
    "status": _capi.StatusCompletion(lambda c, s, e: _finish(c, _status_value(s), e)),
    "job": _capi.SpoolStatusCompletion(lambda c, s, e: _finish(c, _job(s.contents) if s else None, e)),
    "wlan": _capi.CurrentWLanCompletion(lambda c, i, e: _finish(c, _fields(i.contents) if i else None, e)),
    "aps": _capi.FoundApCompletion(lambda c, a, n, e: _finish(c, [_fields(a[i]) for i in range(n)] if a else None,
                                                              e)),
    "jobs": _capi.SpoolListCompletion(lambda c, s, n, e: _finish(c, [_job(s[i]) for i in range(n)] if s else None,
                                                                 e)),
}


def _run(shape, function, *args, callback=None, timeout=None):
    """Starts an operation; with no callback, waits for its report in short slices (so Ctrl-C is seen) and
    returns its value or raises. A wait given up leaves the operation running to its own timeout."""
    pending = _Pending(callback)
    with _pending_lock:
        key = next(_keys)
        _pending[key] = pending
    try:
        _call(function, *args, _T[shape], c_void_p(key))
    except BaseException:
        with _pending_lock:
            _pending.pop(key, None)
        raise
    if callback is not None:
        return None
    waited = 0.0
    while not pending.done.wait(_WAIT_SLICE):
        waited += _WAIT_SLICE
        if timeout is not None and waited >= timeout:
            raise TimeoutError("no report from the library within %s s" % timeout)
    if pending.error is not None:
        raise pending.error
    return pending.value


class StatusFlags:
    """A printer status: the five flags, its text and its detailed JSON (copied out of the library)."""

    def __init__(self, has_error, cover_open, drawer_open_close_signal, paper_empty, paper_near_empty,
                 description=None, detail_json=None):
        self.has_error, self.cover_open = has_error, cover_open
        self.drawer_open_close_signal = drawer_open_close_signal
        self.paper_empty, self.paper_near_empty = paper_empty, paper_near_empty
        self.description, self.detail_json = description, detail_json

    def __repr__(self):
        return self.description or "StatusFlags(has_error=%s)" % self.has_error


class SpoolJob:
    __slots__ = ("job_id", "job_state", "elapsed_time", "job_received_interface", "app_info", "host_model",
                 "host_os", "host_ip_address", "is_retry_enabled", "timeout", "note")

    def __init__(self, *values):
        for name, value in zip(self.__slots__, values):
            setattr(self, name, value)


class _Handle:
    """An owned library handle, released once; a context manager."""
    _release = None

    def __init__(self, handle):
        self._handle = handle

    @property
    def handle(self):
        if not self._handle:
            raise Prelix10Error(1, "The object was released.")
        return self._handle

    def release(self):
        handle, self._handle = self._handle, None
        if handle:
            getattr(_l(), self._release)(handle)
            self._released()

    def _released(self):
        pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.release()

    def __del__(self):
        try:
            self.release()
        except Exception:
            pass


# ---- Builders ----

class PrinterBuilder(_Handle):
    _release = "printer_builder_release"

    def __init__(self):
        super().__init__(_get(_l().printer_builder_create))

    def _do(self, name, *args):
        _call(getattr(_l(), "printer_builder_" + name), self.handle, *args)
        return self

    def style_alignment(self, alignment): return self._do("style_alignment", alignment)
    def style_font(self, font): return self._do("style_font", font)
    def style_bold(self, enable=True): return self._do("style_bold", int(enable))
    def style_invert(self, enable=True): return self._do("style_invert", int(enable))
    def style_underline(self, enable=True): return self._do("style_underline", int(enable))
    def style_magnification(self, width, height): return self._do("style_magnification", width, height)
    def action_print_text(self, text): return self._do("action_print_text", _encode(text))
    def action_feed(self, millimetres): return self._do("action_feed", float(millimetres))
    def action_feed_line(self, lines): return self._do("action_feed_line", lines)
    def action_cut(self, cut_type=CUT_PARTIAL): return self._do("action_cut", cut_type)

    def action_print_barcode(self, content, symbology, height=10.0, print_hri=True):
        return self._do("action_print_barcode", _encode(content), symbology, float(height), int(print_hri))

    def action_print_qr_code(self, content, level=QR_LEVEL_M, cell_size=4):
        return self._do("action_print_qr_code", _encode(content), level, cell_size)

    def action_print_image(self, grey_pixels, width, height, print_width, diffusion=False, threshold=127):
        pixels = bytes(grey_pixels)
        if len(pixels) < width * height:
            raise ValueError("the image needs width x height grey bytes")
        return self._do("action_print_image", pixels, width, height, print_width, int(diffusion), threshold)


class DocumentBuilder(_Handle):
    _release = "document_builder_release"

    def __init__(self):
        super().__init__(_get(_l().document_builder_create))

    def add_printer(self, builder):
        _call(_l().document_builder_add_printer, self.handle, builder.handle)
        return self

    def add_drawer_open(self, channel=DRAWER_1, on_time=200):
        _call(_l().document_builder_add_drawer_open, self.handle, channel, on_time)
        return self

    def add_raw(self, data):
        data = bytes(data)
        _call(_l().document_builder_add_raw, self.handle, data, len(data))
        return self

    def get_commands(self):
        return _owned_text(_get(_l().document_builder_get_commands, self.handle))


# ---- Printer ----

_PRINTER_EVENTS = {
    "printer": (_capi.PrinterDelegate, "printer_set_printer_delegate"),
    "drawer": (_capi.DrawerDelegate, "printer_set_drawer_delegate"),
    "input_device": (_capi.InputDeviceDelegate, "printer_set_input_device_delegate"),
    "display": (_capi.DisplayDelegate, "printer_set_display_delegate"),
}


def _adapter(shape, function, owner):
    """The C thunk of one delegate event: borrowed C values become Python ones before the user sees them."""
    if shape is _capi.PrinterErrorEvent:
        return shape(lambda c, h, e: _event(function, owner, Prelix10Error._from(e) if e else None))
    if shape is _capi.DrawerSwitchEvent:
        return shape(lambda c, h, v: _event(function, owner, v))
    if shape is _capi.DrawerDetailEvent:
        return shape(lambda c, h, t: _event(function, owner, t.decode("utf-8", "replace") if t else None))
    if shape is _capi.InputReceiveEvent:
        return shape(lambda c, h, d, n: _event(function, owner, ctypes.string_at(d, n) if d else b""))
    return shape(lambda c, h: _event(function, owner))


class Printer(_Handle):
    """A printer. Blocking calls return the result or raise Prelix10Error; with callback=fn they return at
    once and fn(value, error) runs on the library's thread, one completion of a printer at a time (so a
    callback must not wait for another operation of the same printer)."""
    _release = "printer_release"

    def __init__(self, interface_type=INTERFACE_LAN, identifier="", auto_switch_interface=False, _handle=None):
        super().__init__(_handle or _get(_l().printer_create, interface_type, _encode(identifier),
                                          int(auto_switch_interface)))
        self._tables = {}

    def __exit__(self, *exc):
        try:
            if self._handle and self.is_opened:
                self.close()
        finally:
            self.release()

    def _released(self):
        _retire(self._tables)
        self._tables = {}

    @property
    def identifier(self): return _owned_text(_get(_l().printer_get_identifier, self.handle))

    @property
    def model_name(self): return _owned_text(_get(_l().printer_get_model_name, self.handle))

    @property
    def interface_type(self): return _int_out(_l().printer_get_interface_type, self.handle)

    @property
    def is_opened(self): return bool(_int_out(_l().printer_is_opened, self.handle))

    @property
    def information_json(self): return _text_out(_l().printer_get_information_json, self.handle)

    def get_timeout(self, which): return _int_out(_l().printer_get_timeout, self.handle, which)
    def set_timeout(self, which, milliseconds): _call(_l().printer_set_timeout, self.handle, which, milliseconds)

    def open(self, callback=None): return _run("done", _l().printer_open, self.handle, callback=callback)
    def close(self, callback=None): return _run("void", _l().printer_close, self.handle, callback=callback)

    def print_command(self, commands, callback=None):
        return _run("done", _l().printer_print_command, self.handle, _encode(commands), callback=callback)

    def print_raw(self, data, callback=None):
        data = bytes(data)
        return _run("done", _l().printer_print_raw, self.handle, data, len(data), callback=callback)

    def write(self, data, timeout_ms=10000, callback=None):
        data = bytes(data)
        return _run("done", _l().printer_write, self.handle, data, len(data), timeout_ms, callback=callback)

    def read(self, size, callback=None): return _run("bytes", _l().printer_read, self.handle, size, callback=callback)
    def get_status(self, callback=None): return _run("status", _l().printer_get_status, self.handle, callback=callback)

    def spool_print(self, commands, retry=False, timeout=60, note=None, callback=None):
        """Spools the commands; returns the job id."""
        settings = _capi.sized(_capi.SpoolJobSettings, is_retry_enabled=int(retry), timeout=timeout,
                               note=_encode(note))
        return _run("int", _l().printer_spool_print, self.handle, _encode(commands), byref(settings),
                    callback=callback)

    def get_spool_job_status(self, job_id, callback=None):
        return _run("job", _l().printer_get_spool_job_status, self.handle, job_id, callback=callback)

    def get_spool_job_status_list(self, size=10, callback=None):
        return _run("jobs", _l().printer_get_spool_job_status_list, self.handle, size, callback=callback)

    def set_configuration(self, configuration_json, callback=None):
        return _run("int", _l().printer_set_configuration, self.handle, _encode(configuration_json),
                    callback=callback)

    def get_configuration(self, password=None, callback=None):
        return _run("string", _l().printer_get_configuration, self.handle, _encode(password), callback=callback)

    def get_default_configuration(self, callback=None):
        return _run("string", _l().printer_get_default_configuration, self.handle, callback=callback)

    def set_delegate(self, kind="printer", **events):
        """Sets one delegate table ("printer", "drawer", "input_device" or "display") from callables named
        after its events, each called with this Printer first; no events clears the table."""
        table_type, setter = _PRINTER_EVENTS[kind]
        names = {name: shape for name, shape in table_type._fields_ if name not in ("size", "context")}
        unknown = set(events) - set(names)
        if unknown:
            raise TypeError("unknown %s events: %s" % (kind, ", ".join(sorted(unknown))))
        thunks = {name: _adapter(names[name], fn, self) for name, fn in events.items() if fn is not None}
        table = _capi.sized(table_type, **thunks) if thunks else None
        _call(getattr(_l(), setter), self.handle, byref(table) if table is not None else None)
        # The old thunks may still be running if this is called from inside one of them.
        _retire(self._tables.get(kind))
        if thunks:
            self._tables[kind] = (table, thunks)
        else:
            self._tables.pop(kind, None)

    def setting(self):
        """The PrinterSetting the last open made, or None before the first open."""
        out = c_void_p()
        _call(_l().printer_get_setting, self.handle, byref(out))
        return PrinterSetting(out.value) if out.value else None


class PrinterSetting(_Handle):
    _release = "printer_setting_release"

    def firmware(self):
        """The Firmware object, or None for a model that has none."""
        out = c_void_p()
        _call(_l().printer_setting_get_firmware, self.handle, byref(out))
        return Firmware(out.value) if out.value else None


class Firmware(_Handle):
    _release = "printer_setting_firmware_release"

    @property
    def current_version(self): return _text_out(_l().printer_setting_firmware_current_version, self.handle)

    @property
    def latest_version(self): return _text_out(_l().printer_setting_firmware_latest_version, self.handle)

    @property
    def is_updatable(self): return bool(_int_out(_l().printer_setting_firmware_is_updatable, self.handle))

    def get_current_version(self, callback=None):
        return _run("string", _l().printer_setting_firmware_get_current_version, self.handle, callback=callback)

    def check_versions(self, callback=None):
        return _run("done", _l().printer_setting_firmware_check_versions, self.handle, callback=callback)


class WLanSetting(_Handle):
    """Sets up a device's wireless LAN over its setting service (interface and identifier as for Printer)."""
    _release = "wlan_setting_release"

    def __init__(self, interface_type, identifier, auto_switch_interface=False):
        super().__init__(_get(_l().wlan_setting_create, interface_type, _encode(identifier),
                              int(auto_switch_interface)))

    def init_setting(self, callback=None):
        return _run("done", _l().wlan_setting_init_setting, self.handle, callback=callback)

    def load_current_info(self, callback=None):
        """A dict of the device's wireless state (ssid, mode, channel, bssid, security_type, rssi, ...)."""
        return _run("wlan", _l().wlan_setting_load_current_info, self.handle, callback=callback)

    def setup_connection(self, ssid, password, security_type=WLAN_SECURITY_AUTO,
                         wlan_mode=WLAN_MODE_INFRASTRUCTURE, callback=None):
        info = _capi.ApInfo(wlan_mode, _encode(ssid), security_type, _encode(password))
        return _run("done", _l().wlan_setting_setup_connection, self.handle, byref(info), callback=callback)

    def fetch_nearby_access_points(self, callback=None):
        """A list of dicts (ssid, bssid, channel, rssi, security), one per access point the scan found."""
        return _run("aps", _l().wlan_setting_fetch_nearby_access_point_info, self.handle, callback=callback)


# ---- Discovery ----

class Discovery(_Handle):
    """A printer discovery. on_found(discovery, printer) receives a Printer the callee owns;
    on_finished(discovery) follows the end of a timed run."""
    _release = "discovery_release"

    def __init__(self, interface_types=(INTERFACE_LAN,), on_found=None, on_finished=None):
        types = (c_int * len(interface_types))(*interface_types)
        super().__init__(_get(_l().discovery_create, types, len(interface_types)))
        self._finished = threading.Event()
        self._on_found, self._on_finished = on_found, on_finished

        def found(_context, _discovery, printer):
            p = Printer(_handle=printer)
            if self._on_found is None:
                p.release()
            else:
                _event(self._on_found, self, p)

        def finished(_context, _discovery):
            if self._on_finished is not None:
                _event(self._on_finished, self)
            self._finished.set()

        self._thunks = (_capi.FoundPrinterEvent(found), _capi.DiscoveryEvent(finished))
        self._table = _capi.sized(_capi.DiscoveryDelegate, did_find_printer=self._thunks[0],
                                  did_finish_discovery=self._thunks[1])
        _call(_l().discovery_set_delegate, self.handle, byref(self._table))

    def _released(self):
        _retire((self._table, self._thunks))
        self._table = self._thunks = None
        self._finished.set()

    def start(self, milliseconds=-1):
        self._finished.clear()
        _call(_l().discovery_set_time, self.handle, int(milliseconds))
        _call(_l().discovery_start, self.handle)

    def stop(self):
        _call(_l().discovery_stop, self.handle)

    def wait(self, timeout=None):
        """Waits for the end of a timed run (in slices, so Ctrl-C is seen); True once it ended."""
        waited = 0.0
        while not self._finished.wait(_WAIT_SLICE):
            waited += _WAIT_SLICE
            if timeout is not None and waited >= timeout:
                return False
        return True


def discover(seconds=3.0, interface_types=(INTERFACE_LAN,)):
    """Runs a discovery of the given length and returns the Printers found, in order."""
    found = []
    with Discovery(interface_types, on_found=lambda _d, p: found.append(p)) as discovery:
        discovery.start(int(seconds * 1000))
        discovery.wait(seconds + 30)
    return found


def lan_use_loopback(data_port=0, status_port=0, discovery_port=0):
    """Keeps the LAN layer of this process on 127.0.0.1 with the given ports (0 keeps a default)."""
    _call(_l().lan_use_loopback, data_port, status_port, discovery_port)


def _optional(name):
    function = getattr(_l(), name, None)
    if function is None:
        raise Prelix10Error(6, "This library has no prelix10_%s." % name)
    return function


def firmware_cloud_set_service_url(url):
    """The firmware cloud service for the version checks and updates that start afterwards (process-wide)."""
    _call(_optional("firmware_cloud_set_service_url"), _encode(url))


def firmware_cloud_get_service_url():
    return _owned_text(_get(_optional("firmware_cloud_get_service_url")))


def firmware_cloud_set_ca_file(path):
    """The CA certificates (PEM file) the firmware cloud service is checked against."""
    _call(_optional("firmware_cloud_set_ca_file"), _encode(path))
