"""What a screen reader finds of an application on the accessibility bus.

tree APP: APP's shown windows and what they hold, a line each, indented by
depth: role "name", then "text" if the text is the name ("other text" if
not), then "default" for the default button.
watch APP TEXT: "listening", then each change of a label's name or text (with
its name), until a label's text becomes TEXT; after 20 s, status 1.
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


def changed(event):
    if event.host_application.name == sys.argv[2] and event.source.getRoleName() == "label":
        print('%s "%s"' % (event.type, event.source.name), flush=True)
        # A caption's text change follows its name change.
        if event.type.startswith("object:text-changed:insert") and event.source.name == sys.argv[3]:
            pyatspi.Registry.stop()


if sys.argv[1] == "tree":
    app = next(a for a in pyatspi.Registry.getDesktop(0) if a and a.name == sys.argv[2])
    for window in app:
        print_tree(window, 0)
else:
    pyatspi.Registry.registerEventListener(
        changed, "object:text-changed", "object:property-change:accessible-name")
    GLib.timeout_add_seconds(20, lambda: os._exit(1))
    print("listening", flush=True)
    pyatspi.Registry.start()
