#!/usr/bin/python3
"""A desktop notification service of the test's own, on the session bus.

  notifications.py <file>   owns org.freedesktop.Notifications; writes each
                            notification posted to <file> as one line
                            "<id>\t<summary>\t<body>\t<actions joined by |>"
                            and prints "ready" once it serves.

As the desktop does when the user chooses an action, it sends ActionInvoked
when asked through its own method:
  dbus-send --session --dest=org.freedesktop.Notifications \\
      /org/freedesktop/Notifications org.e2e.Notifications.Choose uint32:<id> string:<action>
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

INTERFACE = "org.freedesktop.Notifications"


class Service(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.log = log
        self.last = 0

    @dbus.service.method(INTERFACE, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.last += 1
        with open(self.log, "a", encoding="utf-8") as f:
            f.write(f"{self.last}\t{summary}\t{body}\t{'|'.join(actions)}\n")
        return self.last

    @dbus.service.method(INTERFACE, out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body"]

    @dbus.service.method(INTERFACE, out_signature="ssss")
    def GetServerInformation(self):
        return ("e2e", "termdeposit tests", "1", "1.2")

    @dbus.service.method(INTERFACE, in_signature="u")
    def CloseNotification(self, notification):
        self.NotificationClosed(notification, 3)

    @dbus.service.signal(INTERFACE, signature="us")
    def ActionInvoked(self, notification, action):
        pass

    @dbus.service.signal(INTERFACE, signature="uu")
    def NotificationClosed(self, notification, reason):
        pass

    @dbus.service.method("org.e2e.Notifications", in_signature="us")
    def Choose(self, notification, action):
        self.ActionInvoked(notification, action)


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName(INTERFACE, bus)
service = Service(bus, sys.argv[1])
print("ready", flush=True)
GLib.MainLoop().run()
