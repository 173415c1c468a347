"""What a screen reader finds of an application on the accessibility bus.

    accessibility_tree.py tree APP    prints APP's shown windows and what they
                                      hold, a line each, indented by depth:
                                      role "name", then "text" where the text
                                      is the name ("other text" where not),
                                      then "default" for the default button
    accessibility_tree.py watch APP TEXT
                                      prints "listening", then every change of
                                      the text or name of APP's labels, with
                                      the label's name, until a label's text
                                      becomes TEXT; after 20 s without that,
                                      ends with status 1
"""
import os
import sys

import pyatspi
from gi.repository import GLib


def print_tree(node, depth):
    state = node.getState()
    if not state.contains(pyatspi.STATE_SHOWING):
        return
    try:
        text = " text" if node.queryText().getText(0, -1) == node.name else " other text"
    except NotImplementedError:
        text = ""
    default = " default" if state.contains(pyatspi.STATE_IS_DEFAULT) else ""
    print('%s%s "%s"%s%s' % ("  " * depth, node.getRoleName(), node.name, text, default))
    for child in node:
        print_tree(child, depth + 1)


def application(name):
    return next(app for app in pyatspi.Registry.getDesktop(0) if app and app.name == name)


def watch(name, awaited):
    def changed(event):
        if event.host_application.name != name or event.source.getRoleName() != "label":
            return
        print('%s "%s"' % (event.type, event.source.name), flush=True)
        # A caption's text change follows its name change.
        if event.type.startswith("object:text-changed:insert") and event.source.name == awaited:
            pyatspi.Registry.stop()

    events = ["object:text-changed", "object:property-change:accessible-name"]
    pyatspi.Registry.registerEventListener(changed, *events)
    GLib.timeout_add_seconds(20, lambda: os._exit(1))
    print("listening", flush=True)
    pyatspi.Registry.start()


if sys.argv[1] == "tree":
    for window in application(sys.argv[2]):
        print_tree(window, 0)
else:
    watch(sys.argv[2], sys.argv[3])
