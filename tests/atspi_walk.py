#!/usr/bin/python3
"""Reads a running game from outside, as a screen reader does, over the desktop's accessibility
bus: prints every program's tree of roles and names, and fails unless the table holds its
thirteen places, each named for what it holds, and the menu bar its three menus.

usage: atspi_walk.py [seconds to wait for the game]"""
import sys
import time

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
PLACES = ["发牌堆：", "废牌堆："] + [f"目标 {k}：" for k in range(1, 5)] + [
    f"第 {i} 列：" for i in range(1, 8)]


def walk(bus, name, path, depth=0):
    """Every node as [depth, role, name, [(role, name) of each child]], parents first."""
    obj = bus.get_object(name, path, introspect=False)
    label = obj.Get(ACCESSIBLE, "Name", dbus_interface="org.freedesktop.DBus.Properties")
    nodes = [[depth, str(obj.GetRoleName(dbus_interface=ACCESSIBLE)), str(label), []]]
    for n, p in obj.GetChildren(dbus_interface=ACCESSIBLE):
        kids = walk(bus, str(n), str(p), depth + 1)
        nodes[0][3].append(tuple(kids[0][1:3]))
        nodes += kids
    return nodes


def ready(nodes):
    table = any(role == "list" and label == "牌桌" and len(names) == 13 and all(
        n.startswith(p) and len(n) > len(p) for n, p in zip(names, PLACES))
        for _, role, label, kids in nodes for names in [[k[1] for k in kids
                                                          if k[0] == "list item"]])
    return table and any(role == "menu bar" and sum(
        k[1].startswith(m) for k in kids for m in ("文件", "选项", "帮助")) == 3
        for _, role, _, kids in nodes)


def main():
    wait = float(sys.argv[1]) if len(sys.argv) > 1 else 30
    address = dbus.SessionBus().get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
        dbus_interface="org.a11y.Bus")
    bus = dbus.bus.BusConnection(str(address))
    deadline, nodes = time.monotonic() + wait, []
    while not ready(nodes) and time.monotonic() < deadline:  # polls until the game is up
        time.sleep(0.1)
        try:
            nodes = walk(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
        except dbus.exceptions.DBusException:
            pass  # a program still starting, or gone between two questions
    print("\n".join(f"{'  ' * d}{role}: {label}" for d, role, label, _ in nodes)
          or "nothing on the accessibility bus")
    if ready(nodes):
        return 0
    print("FAIL: no table of thirteen named places, or no readable menus")
    return 1


if __name__ == "__main__":
    sys.exit(main())
