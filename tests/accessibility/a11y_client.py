#!/usr/bin/python3
"""Uses the running calculator as a screen reader user does, through AT-SPI only.

Finds the program's windows and controls by their accessible names, types into
the boxes through their editable text, presses buttons through their actions,
and reads back what a screen reader reads and hears: the result sentence, the
warning, the message boxes and the About window. Ends with "Izhod".

Usage: a11y_client.py PID   (the process id of the running calculator)
Exits 0 when everything was as expected, 1 with a reason otherwise.
"""

import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

MAIN_TITLE = "Kalkulator za izračun mešanice Marevo"
BOX_NAMES = [
    "Vnesi pritisk v jeklenki (bar):",
    "Odstotek kisika v jeklenki (%):",
    "Željen odstotek kisika v jeklenki (%):",
    "Končni pritisk v jeklenki (bar):",
]
DEFAULTS = ["1", "21", "21", "200"]
BUTTONS = ["Izračunaj", "Briši", "Izhod", "O kalkulatorju"]
WARNING = "S PREDMEŠALNIKOM POLNIŠ LAHKO MEŠANICE LE DO 40% KISIKA!"
OVER_LIMIT = ("POZOR!", "S predmešalnikom polniš lahko mešanice le do 40% kisika!")
NOT_A_NUMBER = ("Opozorilo", "Odstotek kisika v jeklenki mora biti število!")
ABOUT_TITLE = "O kalkulatorju"

PATIENCE = 30  # seconds any one awaited change may take before the run fails


class Failure(Exception):
    pass


def sentence(number):
    return f"V jeklenko dodaj marevo z {number} % kisika!"


def name_of(node):
    return (node.name or "").strip()


def role_of(node):
    # The role itself: its name changes between AT-SPI versions ("push button", then "button").
    return node.getRole()


def children(node):
    try:
        return [child for child in node if child is not None]
    except GLib.Error:
        return []  # gone while we looked


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def pump_events():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, probe):
    """Polls until probe() gives something true, and returns that; fails after PATIENCE."""
    deadline = time.monotonic() + PATIENCE
    while True:
        pump_events()
        try:
            found = probe()
        except GLib.Error:
            found = None  # a node went away while it was read: look again
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not seen within {PATIENCE} s")
        time.sleep(0.05)


def only(nodes, what):
    nodes = list(nodes)
    if len(nodes) != 1:
        raise Failure(f"{what}: expected one, found {len(nodes)}")
    return nodes[0]


def find_all(root, role):
    return [n for n in descendants(root) if role_of(n) == role]


def find(root, role, name):
    return [n for n in find_all(root, role) if name_of(n) == name]


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        raise Failure(f"button {name_of(button)!r} offers no Press action, only {names}")
    action.doAction(names.index("Press"))


def text_of(box):
    return box.queryText().getText(0, -1)


class Session:
    def __init__(self, pid):
        self.pid = pid
        self.heard = []  # names announced through name changes, in order
        pyatspi.Registry.registerEventListener(
            self.on_name_change, "object:property-change:accessible-name")
        self.app = wait_for(f"the application of process {pid} on the accessibility bus",
                            self.application)
        self.app.set_cache_mask(Atspi.Cache.NONE)  # always read what the program says now
        self.main = wait_for("the main window", lambda: self.window(MAIN_TITLE))

    def on_name_change(self, event):
        try:
            self.heard.append(name_of(event.source))
        except GLib.Error:
            pass

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            if app.get_process_id() == self.pid and app.childCount > 0:
                return app
        return None

    def windows(self):
        return children(self.app)

    def window(self, title):
        matching = [w for w in self.windows() if name_of(w) == title]
        return matching[0] if matching else None

    def message_box(self, title):
        return [w for w in self.windows()
                if role_of(w) in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG) and name_of(w) == title]

    def labels(self, name):
        return find(self.main, pyatspi.ROLE_LABEL, name)

    def answer_message_box(self, title, text):
        """Reads the open message box, checks it, and presses its OK button."""
        box = wait_for(f"the message box {title!r}", lambda: self.message_box(title))[0]
        only(find(box, pyatspi.ROLE_LABEL, text), f"the text {text!r} in the box {title!r}")
        press(only(find(box, pyatspi.ROLE_PUSH_BUTTON, "V redu"), f"the OK button of {title!r}"))
        wait_for(f"the message box {title!r} to close", lambda: not self.message_box(title))

    def expect_heard(self, name):
        wait_for(f"an announcement of {name!r}", lambda: name in self.heard)


def run(pid):
    s = Session(pid)
    main = s.main

    boxes = [only(find(main, pyatspi.ROLE_TEXT, n), f"the text box named {n!r}") for n in BOX_NAMES]
    buttons = {n: only(find(main, pyatspi.ROLE_PUSH_BUTTON, n), f"the button {n!r}") for n in BUTTONS}
    for box, default in zip(boxes, DEFAULTS):
        if text_of(box) != default:
            raise Failure(f"box {name_of(box)!r} starts with {text_of(box)!r}, not {default!r}")
    # Panels and pictures say what they are; nothing that takes the focus is nameless.
    named_roles = (pyatspi.ROLE_FRAME, pyatspi.ROLE_PANEL, pyatspi.ROLE_IMAGE,
                   pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT)
    for node in descendants(main):
        if role_of(node) in named_roles and not name_of(node):
            raise Failure(f"a {node.getRoleName()} in the main window has no accessible name")

    def enter(values):
        for box, value in zip(boxes, values):
            box.queryEditableText().setTextContents(value)
        for box, value in zip(boxes, values):
            if text_of(box) != value:
                raise Failure(f"box {name_of(box)!r} holds {text_of(box)!r} after typing {value!r}")

    # The worked example: the result is read, and announced, as one sentence.
    enter(["50", "21", "32", "200"])
    press(buttons["Izračunaj"])
    only(wait_for("the result sentence", lambda: s.labels(sentence("35.7"))), "the result")
    s.expect_heard(sentence("35.7"))
    if s.labels(WARNING):
        raise Failure("a warning shown for a result under the limit")

    # Over the limit: the warning comes first, with the "POZOR!" box; the new
    # number only once the box is answered.
    s.heard.clear()
    enter(["1", "21", "40", "200"])
    press(buttons["Izračunaj"])
    wait_for("the POZOR! box", lambda: s.message_box(OVER_LIMIT[0]))
    only(s.labels(WARNING), "the warning line while the box is open")
    s.expect_heard(WARNING)
    only(s.labels(sentence("35.7")), "the earlier result while the box is open")
    s.answer_message_box(*OVER_LIMIT)
    only(wait_for("the new result", lambda: s.labels(sentence("40.1"))), "the new result")
    s.expect_heard(sentence("40.1"))

    # A box that is not a number: its message box is readable too, and nothing else changes.
    enter(["1", "", "40", "200"])
    press(buttons["Izračunaj"])
    s.answer_message_box(*NOT_A_NUMBER)
    only(s.labels(sentence("40.1")), "the result after an input error")
    only(s.labels(WARNING), "the warning after an input error")

    # Clear: the defaults come back, the sentence and the warning go.
    press(buttons["Briši"])
    wait_for("the defaults after Briši", lambda: [text_of(b) for b in boxes] == DEFAULTS)
    wait_for("the result and warning to go",
             lambda: not s.labels(sentence("40.1")) and not s.labels(WARNING))

    # The About window: its details are readable, "Zapri" closes it.
    press(buttons["O kalkulatorju"])
    about = wait_for("the About window", lambda: s.window(ABOUT_TITLE))
    details = [name_of(n) for n in find_all(about, pyatspi.ROLE_LABEL)]
    if len(details) != 6 or not all(details):
        raise Failure(f"the About window's labels read {details}")
    press(only(find(about, pyatspi.ROLE_PUSH_BUTTON, "Zapri"), "the Zapri button"))
    wait_for("the About window to close", lambda: s.window(ABOUT_TITLE) is None)

    press(buttons["Izhod"])


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    try:
        run(int(sys.argv[1]))
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print("ok - the calculator was used through the accessibility bus alone")
    return 0


if __name__ == "__main__":
    sys.exit(main())
