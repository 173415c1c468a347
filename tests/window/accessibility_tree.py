"""What a screen reader finds of an application on the accessibility bus.

tree APP: APP's windows and what they hold, a line each, indented by depth:
role "name", then "text" if the text is the name ("other text" if not),
"default" for the default button, what labels it ('labelled-by "Lives:"')
or what it labels, its description, and "hidden" unless it is showing and
visible.
watch APP TEXT: "listening", then each change of a label's name or text,
as a screen reader reads it (with what labels it, else its description),
and each control that takes the focus, until a label's text becomes TEXT;
after 20 s, status 1.
"""
import os
import sys

import pyatspi
from gi.repository import GLib


def related(node, kind):
    return [r.getTarget(0).name for r in node.getRelationSet() if r.getRelationType() == kind]


def read_as(node):
    caption = related(node, pyatspi.RELATION_LABELLED_BY)
    named = caption[0] if caption else node.description + ":" if node.description else ""
    return "%s %s" % (named, node.name) if named else node.name


def print_tree(node, depth):
    state = node.getState()
    try:
        text = " text" if node.queryText().getText(0, -1) == node.name else " other text"
    except NotImplementedError:
        text = ""
    words = [text]
    words += [" default"] if state.contains(pyatspi.STATE_IS_DEFAULT) else []
    words += [' labelled-by "%s"' % n for n in related(node, pyatspi.RELATION_LABELLED_BY)]
    words += [' label-for "%s"' % n for n in related(node, pyatspi.RELATION_LABEL_FOR)]
    words += [' described-as "%s"' % node.description] if node.description else []
    shown = state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_VISIBLE)
    words += [] if shown else [" hidden"]
    print('%s%s "%s"%s' % ("  " * depth, node.getRoleName(), node.name, "".join(words)))
    for child in node:
        print_tree(child, depth + 1)


def changed(event):
    if event.host_application.name != sys.argv[2]:
        return
    role = event.source.getRoleName()
    if event.type.startswith("object:state-changed:focused"):
        if event.detail1 == 1:
            print('focused %s "%s"' % (role, event.source.name), flush=True)
    elif role == "label":
        print('%s read as "%s"' % (event.type, read_as(event.source)), flush=True)
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
