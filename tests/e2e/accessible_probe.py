#!/usr/bin/python3
"""Reads the document editor of a running program over AT-SPI, as a screen
reader does: its text and caret, or the events it sends while keys are typed.

  accessible_probe.py PID text
      one JSON object: {"text": the editor's whole text, "caret": its caret offset}
  accessible_probe.py PID events SECONDS COUNT
      "ready" once listening, then one JSON object per event of the editor
      ({"type", "offset", "length", "text"}) until COUNT came or SECONDS passed

The editor is the program's multi-line editable text. Exit status 2 when the
program or its editor is not (yet) on the accessibility bus.
"""
import json
import sys

import pyatspi
from gi.repository import GLib


def find_editor(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        try:
            if app.get_process_id() != pid:
                continue
        except Exception:
            continue
        return pyatspi.findDescendant(
            app,
            lambda a: a is not None and a.getRole() == pyatspi.ROLE_TEXT
            and a.getState().contains(pyatspi.STATE_MULTI_LINE)
            and a.getState().contains(pyatspi.STATE_SHOWING))
    return None


def is_editor(source, pid):
    try:
        return (source.get_process_id() == pid and source.getRole() == pyatspi.ROLE_TEXT
                and source.getState().contains(pyatspi.STATE_MULTI_LINE))
    except Exception:
        return False


def main():
    pid = int(sys.argv[1])
    command = sys.argv[2]
    editor = find_editor(pid)
    if editor is None:
        sys.exit(2)
    if command == "text":
        text = editor.queryText()
        print(json.dumps({"text": text.getText(0, -1), "caret": text.caretOffset}))
        return
    seconds = float(sys.argv[3])
    count = int(sys.argv[4])
    seen = []

    def heard(event):
        if not is_editor(event.source, pid):
            return
        seen.append(event)
        any_data = event.any_data if isinstance(event.any_data, str) else None
        print(json.dumps({"type": event.type, "offset": event.detail1,
                          "length": event.detail2, "text": any_data}), flush=True)
        if len(seen) >= count:
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(heard, "object:text-changed:insert",
                                           "object:text-changed:delete",
                                           "object:text-caret-moved")
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() or False)
    GLib.idle_add(lambda: print("ready", flush=True) or False)
    pyatspi.Registry.start()


if __name__ == "__main__":
    main()
