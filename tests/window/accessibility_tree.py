"""What a screen reader finds of an application on the accessibility bus.

tree APP: what APP shows (also within a hidden window), a line each, indented
by depth: role "name", then "text" if the text is the name ("other text" if
not), "default" for the default button, and how a value is read.
watch APP TEXT: "listening", then each change of a label's name or text (as it
is read) and each control that takes the focus, until a label's text becomes
TEXT; after 20 s, status 1.
"""
import os
import sys

import pyatspi
from gi.repository import GLib


def read_as(node):
    """The name, after what labels it or else its description."""
    named = [r.getTarget(0).name for r in node.getRelationSet()
             if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    named = named or ([node.description + ":"] if node.description else [])
    return " ".join(named + [node.name])


def print_tree(node, depth):
    state = node.getState()
    if state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_VISIBLE):
        try:
            text = " text" if node.queryText().getText(0, -1) == node.name else " other text"
        except NotImplementedError:
            text = ""
        text += " default" if state.contains(pyatspi.STATE_IS_DEFAULT) else ""
        text += ' read as "%s"' % read_as(node) if read_as(node) != node.name else ""
        print('%s%s "%s"%s' % ("  " * depth, node.getRoleName(), node.name, text))
    for child in node:
        print_tree(child, depth + 1)


def changed(event):
    if event.host_application.name != sys.argv[2]:
        return
    if event.type.startswith("object:state-changed:focused") and event.detail1:
        print('focused %s "%s"' % (event.source.getRoleName(), event.source.name), flush=True)
    elif event.source.getRoleName() == "label":
        print('%s "%s"' % (event.type, read_as(event.source)), flush=True)
        # A caption's text change follows its name change.
        if event.type.startswith("object:text-changed:insert") and event.source.name == sys.argv[3]:
            pyatspi.Registry.stop()


if sys.argv[1] == "tree":
    app = next(a for a in pyatspi.Registry.getDesktop(0) if a and a.name == sys.argv[2])
    for window in app:
        print_tree(window, 0)
else:
    pyatspi.Registry.registerEventListener(
        changed, "object:text-changed", "object:property-change:accessible-name",
        "object:state-changed:focused")
    GLib.timeout_add_seconds(20, lambda: os._exit(1))
    print("listening", flush=True)
    pyatspi.Registry.start()
