#!/usr/bin/python3
"""A fake BlueZ for the tests and the demo: the virtual mouse over Bluetooth LE.

Owns org.bluez on the bus of DBUS_SYSTEM_BUS_ADDRESS (a private bus; see
fake-system-bus.conf) and publishes an adapter, the mouse with its GATT
service (write characteristic 0xFEE3, notify characteristic 0xFEE4) and, on
request, a second matching service, a paired but disconnected mouse and a
connected foreign device. Writes to the mouse go to the virtual mouse's
Bluetooth LE link; its events come back as notifications. The mouse is
connected while that link is plugged (`ms1sim plug|unplug ble`).

The calls made to it are logged, for tests: org.ms1.FakeBluez.Calls() on "/"
returns (member, object path) pairs, ClearCalls() forgets them.

Ends on SIGTERM or SIGINT, or when the virtual mouse goes away.
"""
import argparse
import json
import os
import signal
import socket
import sys

import dbus
import dbus.exceptions
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

PROPERTIES = "org.freedesktop.DBus.Properties"
OBJECT_MANAGER = "org.freedesktop.DBus.ObjectManager"
ADAPTER = "org.bluez.Adapter1"
DEVICE = "org.bluez.Device1"
SERVICE = "org.bluez.GattService1"
CHARACTERISTIC = "org.bluez.GattCharacteristic1"
TEST = "org.ms1.FakeBluez"

VENDOR_SERVICE_UUID = "0000fee0-0000-1000-8000-00805f9b34fb"
WRITE_UUID = "0000fee3-0000-1000-8000-00805f9b34fb"
NOTIFY_UUID = "0000fee4-0000-1000-8000-00805f9b34fb"
MOUSE_MODALIAS = "usb:v045Ep0040d0001"
FOREIGN_MODALIAS = "usb:v1234p5678d0001"
ADAPTER_PATH = "/org/bluez/hci0"


class Failed(dbus.exceptions.DBusException):
    _dbus_error_name = "org.bluez.Error.Failed"


class NotConnected(dbus.exceptions.DBusException):
    _dbus_error_name = "org.bluez.Error.NotConnected"


class VirtualMouseLink:
    """The virtual mouse's Bluetooth LE link: one connection for reports, one watching events."""

    def __init__(self, directory):
        path = os.path.join(directory, "ms1-vmouse.sock")
        self.requests = self._connect(path)
        self.replies = self.requests.makefile("r")
        self.events = self._connect(path)
        self.pending = b""
        self.events.sendall(b"watch ble\n")
        self.plugged = json.loads(self.next_event_line() or "{}").get("plugged", False)

    def next_event_line(self):
        """The next line of the watching connection, waiting for it; empty at its end."""
        while b"\n" not in self.pending:
            chunk = self.events.recv(4096)
            if not chunk:
                return ""
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode()

    def buffered_event_lines(self):
        """The lines read so far without waiting; None once the connection ended."""
        chunk = self.events.recv(4096)
        if not chunk:
            return None
        self.pending += chunk
        *lines, self.pending = self.pending.split(b"\n")
        return [line.decode() for line in lines]

    @staticmethod
    def _connect(path):
        s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        s.connect(path)
        return s

    def send(self, report):
        """Hands one report to the mouse; True when it took it."""
        for request in ("open ble", "send " + bytes(report).hex()):
            self.requests.sendall((request + "\n").encode())
            reply = json.loads(self.replies.readline() or "{}")
            if reply.get("result", 0) == 0:
                return False
        return True


class BluezObject(dbus.service.Object):
    """One object of one interface, with its properties."""

    def __init__(self, bus, path, interface, properties):
        super().__init__(bus, path)
        self.path = path
        self.interface = interface
        self.properties = properties

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties[name]

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties if interface == self.interface else {}

    @dbus.service.signal(PROPERTIES, signature="sa{sv}as")
    def PropertiesChanged(self, interface, changed, invalidated):
        pass

    def set(self, name, value):
        self.properties[name] = value
        self.PropertiesChanged(self.interface, {name: value}, dbus.Array([], signature="s"))


class Characteristic(BluezObject):
    def __init__(self, fake, path, service, uuid, flags, device, forward):
        super().__init__(fake.bus, path, CHARACTERISTIC, {
            "UUID": uuid, "Service": dbus.ObjectPath(service),
            "Flags": dbus.Array(flags, signature="s"), "Notifying": False,
            "Value": dbus.Array([], signature="y")})
        self.fake = fake
        self.device = device
        self.forward = forward  # None: writes fail

    @dbus.service.method(CHARACTERISTIC, in_signature="aya{sv}", out_signature="")
    def WriteValue(self, value, options):
        self.fake.log("WriteValue", self.path)
        if not self.device.properties["Connected"]:
            raise NotConnected("Not connected")
        if options.get("type", "request") != "request":
            raise Failed("only writes with response reach the mouse")
        if self.forward is None or not self.forward(value):
            raise Failed("the write was not taken")

    @dbus.service.method(CHARACTERISTIC, in_signature="", out_signature="")
    def StartNotify(self):
        self.fake.log("StartNotify", self.path)
        if not self.device.properties["Connected"]:
            raise NotConnected("Not connected")
        self.set("Notifying", True)

    @dbus.service.method(CHARACTERISTIC, in_signature="", out_signature="")
    def StopNotify(self):
        self.fake.log("StopNotify", self.path)
        self.set("Notifying", False)


class Root(dbus.service.Object):
    def __init__(self, fake):
        super().__init__(fake.bus, "/")
        self.fake = fake

    @dbus.service.method(OBJECT_MANAGER, in_signature="", out_signature="a{oa{sa{sv}}}")
    def GetManagedObjects(self):
        self.fake.log("GetManagedObjects", "/")
        return {o.path: {o.interface: o.properties} for o in self.fake.objects}

    @dbus.service.method(TEST, in_signature="", out_signature="a(ss)")
    def Calls(self):
        return self.fake.calls

    @dbus.service.method(TEST, in_signature="", out_signature="")
    def ClearCalls(self):
        self.fake.calls = []


class FakeBluez:
    def __init__(self, bus, mouse, options):
        self.bus = bus
        self.mouse = mouse
        self.calls = []
        self.objects = []
        self.root = Root(self)
        self.add(ADAPTER_PATH, ADAPTER, {"Address": "00:1A:7D:DA:71:13", "Powered": True})
        self.device = self.add_device("C0_FF_EE_00_00_01", MOUSE_MODALIAS, mouse.plugged)
        first_forward = None if options.first_write_fails else mouse.send
        self.notifiers = self.add_service(self.device, 0x10, first_forward)
        if options.second_service:
            self.notifiers += self.add_service(self.device, 0x20, mouse.send)
        if options.paired_mouse:
            self.add_service(self.add_device("C0_FF_EE_00_00_02", MOUSE_MODALIAS, False), 0x10, None)
        if options.foreign:
            self.add_service(self.add_device("0A_0B_0C_0D_0E_0F", FOREIGN_MODALIAS, True), 0x10, None)

    def log(self, member, path):
        self.calls.append((member, path))

    def add(self, path, interface, properties):
        obj = BluezObject(self.bus, path, interface, properties)
        self.objects.append(obj)
        return obj

    def add_device(self, address, modalias, connected):
        return self.add(ADAPTER_PATH + "/dev_" + address, DEVICE, {
            "Address": address.replace("_", ":"), "Name": "MS_1", "Modalias": modalias,
            "Paired": True, "Connected": connected, "Adapter": dbus.ObjectPath(ADAPTER_PATH)})

    def add_service(self, device, handle, forward):
        """A vendor service with its write and notify characteristics; returns the notifier."""
        service = "%s/service%04x" % (device.path, handle)
        self.add(service, SERVICE, {"UUID": VENDOR_SERVICE_UUID, "Primary": True,
                                    "Device": dbus.ObjectPath(device.path)})
        for offset, uuid, flags, target in ((1, WRITE_UUID, ["read", "write"], forward),
                                            (3, NOTIFY_UUID, ["notify"], None)):
            path = "%s/char%04x" % (service, handle + offset)
            characteristic = Characteristic(self, path, service, uuid, flags, device, target)
            self.objects.append(characteristic)
        return [self.objects[-1]]

    def on_mouse_event(self, line):
        event = json.loads(line)
        if event.get("event") == "plug":
            self.device.set("Connected", event["value"] == 1)
            if event["value"] != 1:
                for notifier in self.notifiers:
                    notifier.properties["Notifying"] = False
        elif "notification" in event:
            # Like the real mouse, the events come through one service only.
            for notifier in self.notifiers:
                if notifier.properties["Notifying"]:
                    notifier.set("Value", dbus.Array(bytes.fromhex(event["notification"]),
                                                     signature="y"))
                    break


def default_vmouse_dir():
    runtime = os.environ.get("XDG_RUNTIME_DIR")
    return os.path.join(runtime, "ms1-vmouse") if runtime else "/tmp/ms1-vmouse-%d" % os.getuid()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vmouse-dir", default=os.environ.get("MS1_VMOUSE_DIR") or default_vmouse_dir())
    parser.add_argument("--ready-fd", type=int, default=-1,
                        help="write one line here once org.bluez is owned")
    parser.add_argument("--second-service", action="store_true")
    parser.add_argument("--first-write-fails", action="store_true")
    parser.add_argument("--paired-mouse", action="store_true")
    parser.add_argument("--foreign", action="store_true")
    options = parser.parse_args()

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    try:
        mouse = VirtualMouseLink(options.vmouse_dir)
    except OSError as error:
        print("fake-bluez: no virtual mouse in %s: %s" % (options.vmouse_dir, error), file=sys.stderr)
        return 1
    bus = dbus.SystemBus()
    fake = FakeBluez(bus, mouse, options)
    name = dbus.service.BusName("org.bluez", bus)
    loop = GLib.MainLoop()

    def on_events(fd, condition):
        lines = mouse.buffered_event_lines()
        if lines is None:
            loop.quit()
            return False
        for line in lines:
            fake.on_mouse_event(line)
        return True

    GLib.io_add_watch(mouse.events.fileno(), GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP,
                      on_events)
    for number in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, number, loop.quit)
    if options.ready_fd >= 0:
        os.write(options.ready_fd, b"ready\n")
        os.close(options.ready_fd)
    loop.run()
    del name
    return 0


if __name__ == "__main__":
    sys.exit(main())
