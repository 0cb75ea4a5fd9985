#!/usr/bin/python3
"""Reads a running game from outside, as a screen reader does: over the desktop's accessibility
bus, every program's tree of roles and names. Prints the tree and fails unless the table holds
its thirteen places, each named for what it holds, and the menu bar its three menus.

usage: atspi_walk.py [seconds to wait for the game]"""
import sys
import time

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
PLACES = ["发牌堆：", "废牌堆："] + [f"目标 {k}：" for k in range(1, 5)] + [
    f"第 {i} 列：" for i in range(1, 8)]


def node(bus, name, path):
    obj = bus.get_object(name, path, introspect=False)
    props = dbus.Interface(obj, "org.freedesktop.DBus.Properties")
    kids = obj.GetChildren(dbus_interface=ACCESSIBLE)
    return (str(obj.GetRoleName(dbus_interface=ACCESSIBLE)),
            str(props.Get(ACCESSIBLE, "Name")), [(str(n), str(p)) for n, p in kids])


def walk(bus, name, path, depth, lines, found):
    role, label, kids = node(bus, name, path)
    lines.append(f"{'  ' * depth}{role}: {label}")
    found.setdefault(role, []).append((label, [node(bus, n, p)[:2] for n, p in kids]))
    for n, p in kids:
        walk(bus, n, p, depth + 1, lines, found)


def table_ok(found):
    for label, kids in found.get("list", []):
        names = [k[1] for k in kids if k[0] == "list item"]
        if label == "牌桌" and len(names) == 13 and all(
                n.startswith(p) and len(n) > len(p) for n, p in zip(names, PLACES)):
            return True
    return False


def menus_ok(found):
    return any(sum(k[1].startswith(m) for k in kids for m in ("文件", "选项", "帮助")) == 3
               for _, kids in found.get("menu bar", []))


def main():
    wait = float(sys.argv[1]) if len(sys.argv) > 1 else 30
    session = dbus.SessionBus()
    address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
        dbus_interface="org.a11y.Bus")
    bus = dbus.bus.BusConnection(str(address))
    deadline = time.monotonic() + wait
    lines = []
    while time.monotonic() < deadline:
        lines, found = [], {}
        try:
            walk(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", 0, lines,
                 found)
        except dbus.exceptions.DBusException:
            pass  # a program still starting, or gone between two questions
        if table_ok(found) and menus_ok(found):
            print("\n".join(lines))
            return 0
        time.sleep(0.1)  # poll until the game is up
    print("\n".join(lines) or "nothing on the accessibility bus")
    print("FAIL: no table of thirteen named places, or no readable menus")
    return 1


if __name__ == "__main__":
    sys.exit(main())
