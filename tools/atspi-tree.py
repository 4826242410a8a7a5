#!/usr/bin/env python3
"""Prints what a screen reader gets of a running program: its accessibility
tree on the AT-SPI bus, one object a line (role, name, states, description).

    tools/atspi-tree.py [--app NAME] [--depth N]

Run it in the program's D-Bus session. The program joins the bus when it
starts with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 (or when a screen reader
runs); under dbus-run-session the session bus starts at-spi2-core itself.
Needs python3-dbus. Exits 1 when no application of that name is on the bus.
"""
import argparse
import sys

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
PROPERTIES = "org.freedesktop.DBus.Properties"
REGISTRY = "org.a11y.atspi.Registry"
ROOT = "/org/a11y/atspi/accessible/root"

# AtspiStateType values worth showing, by bit.
STATES = {
    4: "checked", 8: "enabled", 11: "focusable", 12: "focused", 20: "pressed",
    23: "selected", 25: "showing", 32: "indeterminate", 41: "checkable",
}


def a11y_bus():
    session = dbus.SessionBus()
    address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus")
    return dbus.bus.BusConnection(address)


def states(obj):
    words = []
    bits = obj.GetState(dbus_interface=ACCESSIBLE)
    for bit, word in STATES.items():
        if bits[bit // 32] & (1 << (bit % 32)):
            words.append(word)
    return words


def describe(bus, name, path):
    obj = bus.get_object(name, path, introspect=False)
    props = dbus.Interface(obj, PROPERTIES)
    label = props.Get(ACCESSIBLE, "Name")
    description = props.Get(ACCESSIBLE, "Description")
    role = obj.GetRoleName(dbus_interface=ACCESSIBLE)
    return obj, str(role), str(label), str(description)


def walk(bus, name, path, depth, limit, out):
    obj, role, label, description = describe(bus, name, path)
    words = states(obj)
    if depth > 0 and "showing" not in words:
        return  # a page not on show, a hidden control
    line = "%s%s '%s'" % ("  " * depth, role, label)
    shown = [w for w in words if w not in ("enabled", "showing")]
    if shown:
        line += " [" + ",".join(shown) + "]"
    if description:
        line += " -- " + description
    out.append(line)
    if depth >= limit:
        return
    for child_name, child_path in obj.GetChildren(dbus_interface=ACCESSIBLE):
        walk(bus, str(child_name), str(child_path), depth + 1, limit, out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", default="Ostrel", help="application name on the bus (default Ostrel)")
    parser.add_argument("--depth", type=int, default=40, help="levels below the application")
    args = parser.parse_args()
    bus = a11y_bus()
    registry = bus.get_object(REGISTRY, ROOT)
    found = False
    for name, path in registry.GetChildren(dbus_interface=ACCESSIBLE):
        _, role, label, _ = describe(bus, str(name), str(path))
        if label != args.app:
            continue
        found = True
        out = []
        walk(bus, str(name), str(path), 0, args.depth, out)
        print("\n".join(out))
    if not found:
        print("no application '%s' on the accessibility bus" % args.app, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
