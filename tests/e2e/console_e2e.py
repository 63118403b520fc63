#!/usr/bin/python3
"""End-to-end cases of the real lumivex, as an operator meets it: on an X
server with a window manager, read through the accessibility bus (AT-SPI)
and driven with xdotool, against lumivex-boardsim boards this test made.

Run by run_e2e.sh inside a network namespace of the case's own, under
xvfb-run and dbus-run-session:  console_e2e.py CASE BIN_DIR SOURCE_DIR
Every wait has a deadline; nothing sleeps to synchronise."""

import json
import os
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

CASES = {}


def case(function):
    CASES[function.__name__] = function
    return function


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def wait_for(condition, what, seconds=20.0):
    deadline = time.monotonic() + seconds
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = condition()
            if value:
                return value
        except Exception as error:  # the accessibility tree changes under us
            last_error = error
        time.sleep(0.1)
    what = what() if callable(what) else what
    raise Failure(f"timed out waiting for {what}" + (f" (last error: {last_error})" if last_error else ""))


def run(*args, **kwargs):
    return subprocess.run(list(args), check=True, capture_output=True, text=True, **kwargs).stdout


class Sandbox:
    """A home of the test's own, a profile in it, and the programs' paths."""

    def __init__(self, bin_dir):
        self.bin = bin_dir
        self.dir = tempfile.TemporaryDirectory(prefix="lumivex-e2e-")
        root = self.dir.name
        self.env = dict(os.environ)
        for name, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                          ("XDG_RUNTIME_DIR", "runtime")):
            path = os.path.join(root, sub)
            os.makedirs(path, mode=0o700, exist_ok=True)
            self.env[name] = path
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env.pop("QT_QPA_PLATFORM", None)
        self.profile = os.path.join(root, "config", "Lumivex.conf")
        self.processes = []
        self.boards = None

    def seed(self, addresses, groups=(), settings=None):
        args = [os.path.join(self.bin, "console_e2e_seed"), self.profile, *addresses]
        for name, members in groups:
            args += ["--group", name + "=" + ",".join(str(m) for m in members)]
        for name, value in (settings or {}).items():
            args += ["--int" if isinstance(value, int) else "--text", f"{name}={value}"]
        run(*args, env=self.env)

    def documents(self):
        """The user's documents folder (no user-dirs file: ~/Documents), made."""
        path = os.path.join(self.env["HOME"], "Documents")
        os.makedirs(path, exist_ok=True)
        return path

    def spawn(self, args, **kwargs):
        process = subprocess.Popen(args, env=self.env, **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.kill()
                process.wait()
        self.dir.cleanup()


class Boards:
    """lumivex-boardsim serving a fleet file, optionally in another namespace."""

    def __init__(self, sandbox, fleet, netns_pid=None):
        path = os.path.join(sandbox.dir.name, "fleet.json")
        with open(path, "w") as out:
            json.dump(fleet, out)
        args = [os.path.join(sandbox.bin, "lumivex-boardsim"), path]
        if netns_pid:
            args = ["nsenter", "-t", str(netns_pid), "-n"] + args
        self.process = sandbox.spawn(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        check(line.startswith("READY"), f"the simulated boards did not start: {line!r}")
        sandbox.boards = self

    def control(self, line):
        answer = self.ask(line)
        check(answer.startswith("OK"), f"{line}: {answer!r}")

    def ask(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.process.stdout.readline()

    def stats(self, address):
        return json.loads(self.ask("stats " + address))

    def sent(self, address, command):
        return self.stats(address)["commands"].get(command, 0)


class SmtpCapture:
    """A real SMTP server (aiosmtpd, tests/mail/smtp_capture.py) on port 25 of
    address; each message it accepts is parsed back as N.json."""

    def __init__(self, sandbox, address):
        self.dir = os.path.join(sandbox.dir.name, "smtp")
        os.makedirs(self.dir)
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "mail", "smtp_capture.py")
        self.process = sandbox.spawn(["/usr/bin/python3", script, "--host", address, "--dir", self.dir],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        check(line.startswith("ready"), f"the SMTP server did not start: {line!r}")

    def messages(self):
        names = sorted((n for n in os.listdir(self.dir) if n.endswith(".json")), key=lambda n: int(n.split(".")[0]))
        result = []
        for name in names:
            with open(os.path.join(self.dir, name), encoding="utf-8") as f:
                result.append(json.load(f))
        return result


def board(address, name, **fields):
    return dict(address=address, projectorName=name, **fields)


class Console:
    """The running lumivex, seen through AT-SPI and X."""

    def __init__(self, sandbox):
        self.sandbox = sandbox
        self.process = sandbox.spawn([os.path.join(sandbox.bin, "lumivex"), "--profile", sandbox.profile],
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.app = wait_for(self._find_app, "the console on the accessibility bus", 30)
        self.window = wait_for(self._find_window, "the console's window")

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        check(self.process.poll() is None, f"lumivex ended with {self.process.returncode}")
        return None

    def _find_window(self):
        ids = run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name", "^Lumivex$").split()
        return ids[0] if ids else None

    def find(self, role, name=None, root=None):
        node = root or self.app
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            # A child that went while we looked is no reason to start again from the top.
            found = self.find(role, name, child) if child is not None else None
            if found is not None:
                return found
        return None

    def rows(self):
        table = self.find("table")
        # The bus keeps the texts it has seen; a cell's new text is read anew.
        table.clear_cache()
        table = table.queryTable()
        return [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)] for r in range(table.nRows)]

    def headers(self):
        table = self.find("table").queryTable()
        return [table.getColumnHeader(c) for c in range(table.nColumns)]

    def header(self, name):
        return next(h for h in self.headers() if h.name == name)

    def row_of(self, address):
        matches = [row for row in self.rows() if len(row) > 1 and row[1] == address]
        return matches[0] if len(matches) == 1 else None

    def page_tabs(self):
        tabs = self.find("page tab list")
        tabs.clear_cache()  # tabs come and go
        children = [tabs.getChildAtIndex(i) for i in range(tabs.childCount)]
        return [tab for tab in children if tab is not None and tab.getRoleName() == "page tab"]

    def tab_names(self):
        return [tab.name for tab in self.page_tabs()]

    def click(self, accessible, dx=0):
        """A click dx pixels right of the middle (two quick clicks in one
        place would make a double-click)."""
        x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x += dx
        # No --sync: it waits for a motion that never comes when the pointer
        # is there already; the server takes the move and the click in order.
        run("xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "1")

    def drag(self, x1, y, x2):
        run("xdotool", "mousemove", str(x1), str(y), "mousedown", "1",
            "mousemove", str(x1 + (x2 - x1) // 2), str(y), "mousemove", str(x2), str(y), "mouseup", "1")

    def key(self, name):
        run("xdotool", "windowactivate", "--sync", self.window)
        run("xdotool", "key", "--window", self.window, name)

    def menu(self, *keys):
        """A menu command as the operator picks it from the keyboard: Alt and
        the menu's letter, then the letters of the items (the menus open, so
        their commands' enable rules are looked at)."""
        run("xdotool", "windowactivate", "--sync", self.window)
        for key in keys:
            run("xdotool", "key", key)

    def dialog(self, title):
        return wait_for(lambda: self.find("dialog", title), f"the dialog {title!r}")


    def answer(self, button):
        """Presses a button of the message box that is open."""
        box = wait_for(lambda: self.find("alert"), "a message box")
        self.press("push button", button, box)
        return box

    def dialog_gone(self, title):
        wait_for(lambda: self.find("dialog", title) is None, f"the dialog {title!r} to close")

    def header_menu_choose(self, header, item, items=11):
        """Right-clicks a column header and clicks item (0 up) of the menu that
        opens. Context menus are not on the accessibility bus, so the menu is
        found as the process's new window and its equal rows are counted."""
        x, y, width, height = header.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        run("xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "3")

        def popup():
            for window in run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.process.pid)).split():
                if window != self.window:
                    fields = dict(line.split("=", 1) for line in
                                  run("xdotool", "getwindowgeometry", "--shell", window).split())
                    return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])
            return None
        mx, my, mwidth, mheight = wait_for(popup, "the header's menu")
        row = mheight / items
        run("xdotool", "mousemove", str(mx + mwidth // 2), str(int(my + row * (item + 0.5))), "click", "1")

    def selected_tab(self):
        """The current tab: the bus marks it focused, whether or not the tabs have the focus."""
        current = [tab.name for tab in self.page_tabs() if tab.getState().contains(pyatspi.STATE_FOCUSED)]
        return current[0] if len(current) == 1 else None

    def header_names(self):
        return [h.name for h in self.headers()]

    def geometry(self):
        fields = dict(line.split("=", 1) for line in
                      run("xdotool", "getwindowgeometry", "--shell", self.window).split())
        return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])

    def caution_boxes(self):
        """The caution boxes on show: dialogs titled Lumivex, with the texts
        of their labels."""
        boxes = []
        for i in range(self.app.childCount):
            window = self.app.getChildAtIndex(i)
            if (window is not None and window.getRoleName() == "dialog" and window.name == "Lumivex"
                    and window.getState().contains(pyatspi.STATE_SHOWING)):
                boxes.append(window)
        return boxes

    def top_window(self, prefix):
        """The console's top-level window whose name starts with prefix."""
        for i in range(self.app.childCount):
            window = self.app.getChildAtIndex(i)
            if window is not None and window.name.startswith(prefix):
                return window
        return None

    def controller(self):
        return self.top_window(CONTROLLER + " : ")

    def press(self, role, name, root=None):
        """The operator's click on a button or menu item, through its action,
        once it is there."""
        found = wait_for(lambda: self.find(role, name, root), f"the {role} {name!r}")
        found.queryAction().doAction(0)

    def select_row(self, address):
        table = self.find("table")
        table.clear_cache()
        cells = table.queryTable()
        rows = [r for r in range(cells.nRows) if cells.getAccessibleAt(r, 1).name == address]
        check(len(rows) == 1, f"one row for {address}, found {len(rows)}")
        self.click(cells.getAccessibleAt(rows[0], 1))

    def command(self, text):
        """A menu command by its menu text (mnemonic shown as "(X)"), for a
        command that is always enabled: the others are updated only when
        their menu opens."""
        self.press("menu item", text)

    def menu_keys(self, menu, text, item):
        """A menu command as the keyboard gives it: the menu's mnemonic with
        Alt, then, once the item shows enabled, the item's."""
        self.key("alt+" + menu)

        def ready():
            found = self.find("menu item", text)
            states = found.getState()
            return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_ENABLED)
        wait_for(ready, f"the menu item {text} shown and enabled")
        run("xdotool", "key", item)

    def exit_by_menu(self):
        """The operator's Projector > Exit."""
        item = self.find("menu item", "終了(X)")
        item.queryAction().doAction(0)
        return self.wait_end()

    def wait_end(self, seconds=20):
        try:
            self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            raise Failure("the console did not end")
        return self.process.returncode


CONTROLLER = "コントローラ"
BUTTONS = ["電源オン", "スタンバイ", "RGB1", "RGB2", "RGB3", "RGB4", "RGB5", "RGB6",
           "Video1", "Video2", "Video3", "Video4", "Video5", "Video6", "映像ﾐｭｰﾄｵﾝ", "映像ﾐｭｰﾄｵﾌ",
           "音声ﾐｭｰﾄｵﾝ", "音声ﾐｭｰﾄｵﾌ", "AVﾐｭｰﾄｵﾝ", "AVﾐｭｰﾄｵﾌ", "LNSTｵﾝ", "LNSTｵﾌ"]
WEB_PAGE = "Webページ"
# What a board receives for each button, as the board protocol names it.
WIRE = [["POWR   1"], ["POWR   0"], ["IRGB   1"], ["IRGB   2"], ["IRGB   3"], ["IRGB   4"], ["IRGB   5"],
        ["IRGB   6"], ["IVED   1"], ["IVED   2"], ["IVED   3"], ["IVED   4"], ["IVED   5"], ["IVED   6"],
        ["IMBK   1"], ["IMBK   0"], ["MUTE   1"], ["MUTE   0"], ["IMBK   1", "MUTE   1"], ["IMBK   0", "MUTE   0"],
        ["LNST   1"], ["LNST   0"]]
CONTROL_COMMANDS = {command for commands in WIRE for command in commands}


def control_commands(boards, address):
    """The control commands a board received, sorted, each as often as it came."""
    commands = boards.stats(address)["commands"]
    return sorted(c for c, n in commands.items() if c in CONTROL_COMMANDS for _ in range(n))


def start_window_manager(sandbox):
    ready = os.path.join(sandbox.dir.name, "wm-ready")
    sandbox.spawn(["openbox", "--startup", "touch " + ready], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: os.path.exists(ready), "the window manager")


# --- cases -----------------------------------------------------------------

UNSEEN_FLEET = [
    board("127.0.20.1", "Aula Nord", model="QX-91", serial="QX91-0001", signal="800 x 600", computerInput=2,
          lamps=[{"state": 1, "hours": 321, "minutes": 5, "life": 77}]),
    board("127.0.20.2", "Kapelle", model="QX-93", serial="QX93-0002", power="standby"),
    board("127.0.20.3", "Mensa", model="QX-91", serial="QX91-0003", input="video", videoInput=3),
    board("127.0.20.4", "Bibliothek", model="QX-95", serial="QX95-0004", errorBits=8,
          lamps=[{"state": 3, "hours": 5000, "minutes": 0, "life": 0}]),
]
UNSEEN = [b["address"] for b in UNSEEN_FLEET]
# Cases about the list switch the caution boxes off: a box is modal and
# would hold the keys meant for the main window.
def wait_named_rows(console, count, when=""):
    """Waits until the list holds count rows, each with its projector's name."""
    wait_for(lambda: len(console.rows()) == count and all(row[0] for row in console.rows()),
             f"{count} named rows {when}".strip())


NO_BOXES = {"AlertStatus": "0,0,0,0,0,0"}


@case
def start_rows_and_second_start(sandbox):
    Boards(sandbox, {"searchPort": -1, "boards": UNSEEN_FLEET})
    sandbox.seed(UNSEEN, settings=NO_BOXES)
    start_window_manager(sandbox)
    console = Console(sandbox)
    expected = {
        "127.0.20.1": ["Aula Nord", "127.0.20.1", "", "正常", "QX-91", "点灯中", "321 h", "77%",
                       "コンピュータ2", "800 x 600", "QX91-0001"],
        "127.0.20.3": ["Mensa", "127.0.20.3", "", "正常", "QX-91", "点灯中", None, None, "ビデオ3", None, "QX91-0003"],
        "127.0.20.4": ["Bibliothek", "127.0.20.4", "", "ランプ異常", "QX-95", None, "5000 h 0 min", "0%", None, None,
                       "QX95-0004"],
    }

    def rows_match():
        for address, cells in expected.items():
            row = console.row_of(address)
            if row is None or any(want is not None and got != want for want, got in zip(cells, row)):
                return False
        return len(console.rows()) == 4
    wait_for(rows_match, lambda: f"every stored projector's row with its board's texts (have {console.rows()})")

    # A row follows its board: the board falls into a lamp error, F5 refreshes.
    boards = sandbox.boards
    boards.control("set 127.0.20.3 errorBits 8")
    console.key("F5")
    wait_for(lambda: console.row_of("127.0.20.3")[3] == "ランプ異常", "the refreshed row's new status")

    # A second start ends at once, silently, with no window of its own.
    second = subprocess.run([os.path.join(sandbox.bin, "lumivex"), "--profile", sandbox.profile],
                            env=sandbox.env, capture_output=True, text=True, timeout=20)
    check(second.returncode == 0, f"second start ended with {second.returncode}")
    check(second.stdout == "" and "lumivex:" not in second.stderr, f"second start said: {second.stderr!r}")
    windows = run("xdotool", "search", "--onlyvisible", "--name", "^Lumivex$").split()
    check(len(windows) == 1, f"one console window, found {windows}")
    check(console.process.poll() is None, "the first console still runs")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


@case
def restart_keeps_placement_sort_layout_and_tab(sandbox):
    Boards(sandbox, {"searchPort": -1, "boards": UNSEEN_FLEET})
    sandbox.seed(UNSEEN, groups=[("Hall", [0, 2]), ("Studio", [1, 3])], settings=NO_BOXES)
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_named_rows(console, 4)
    check(console.tab_names() == ["すべて", "Hall", "Studio"], f"tabs: {console.tab_names()}")

    run("xdotool", "windowmove", "--sync", console.window, "140", "110")
    run("xdotool", "windowsize", "--sync", console.window, "980", "560")
    # Sort by address, then flip it to descending.
    console.click(console.header("IPアドレス"))
    wait_for(lambda: [r[1] for r in console.rows()] == sorted(UNSEEN), "rows by address, ascending")
    console.click(console.header("IPアドレス"), dx=20)
    wait_for(lambda: [r[1] for r in console.rows()] == sorted(UNSEEN, reverse=True), "rows by address, descending")
    # Widen the name column by dragging its divider.
    x, y, width, height = console.header("プロジェクター名").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    console.drag(x + width - 1, y + height // 2, x + width + 59)
    wide = wait_for(lambda: console.header("プロジェクター名").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[2]
                    if console.header("プロジェクター名").queryComponent().getExtents(
                        pyatspi.DESKTOP_COORDS)[2] > width + 30 else None, "a wider name column")
    console.click(console.find("page tab", "Studio"))
    wait_for(lambda: sorted(r[1] for r in console.rows()) == [UNSEEN[1], UNSEEN[3]], "the Studio group's rows")
    geometry = console.geometry()
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")

    console = Console(sandbox)
    wait_for(lambda: sorted(r[1] for r in console.rows()) == [UNSEEN[1], UNSEEN[3]], "the Studio tab again")
    check([r[1] for r in console.rows()] == [UNSEEN[3], UNSEEN[1]], f"still descending: {console.rows()}")
    check(console.geometry() == geometry, f"placement {console.geometry()} != {geometry}")
    width_now = console.header("プロジェクター名").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[2]
    check(width_now == wide, f"name column {width_now} wide, was {wide}")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


@case
def search_adds_found_board_once_and_kill_keeps_it(sandbox):
    network = SearchNetwork()
    try:
        fleet = {"searchPort": 5006, "boards": [
            board("10.77.0.2", "Known"),
            # Answers every search twice.
            board("10.77.0.3", "Neu", searchTwice=True),
        ]}
        Boards(sandbox, fleet, netns_pid=network.boards_pid)
        sandbox.seed(["10.77.0.2"], settings=NO_BOXES)
        start_window_manager(sandbox)
        console = Console(sandbox)
        wait_for(lambda: console.row_of("10.77.0.2") and console.row_of("10.77.0.2")[0] == "Known",
                 "the stored board's row")
        console.key("F6")
        wait_for(lambda: console.row_of("10.77.0.3") and console.row_of("10.77.0.3")[0] == "Neu",
                 "the found board's row, once, polled", 40)
        check(sorted(r[1] for r in console.rows()) == ["10.77.0.2", "10.77.0.3"], f"rows: {console.rows()}")
        # Killed right after: nothing gets to close in order.
        console.process.send_signal(signal.SIGKILL)
        console.wait_end()

        console = Console(sandbox)
        wait_for(lambda: sorted(r[1] for r in console.rows()) == ["10.77.0.2", "10.77.0.3"],
                 "both boards after the kill")
        check(console.exit_by_menu() == 0, "Exit ends the console with status 0")
    finally:
        network.close()


ALERT_FLEET = [board("127.0.30.1", "Aula"), board("127.0.30.2", "Foyer"), board("127.0.30.3", "Keller")]
ALERT_BOARDS = [b["address"] for b in ALERT_FLEET]
SMTP_ADDRESS = "127.0.30.25"
MAIL_SETTINGS = {
    "MailSMTPServer": SMTP_ADDRESS, "MailFromAddress": "console@example.com", "MailSenderName": "Lumivex",
    # Fan errors only; errors to the first address, reports to the second.
    "MailErrorStatus": "0,1,0,0,0,0",
    "MailToAddress0": "errors@example.com", "MailToStatus0": "1,0",
    "MailToAddress1": "reports@example.com", "MailToStatus1": "0,1",
}
FAN_HEADING = "警告"
FAN_MESSAGE = "冷却ファンが停止しました。"


def rows_normal(console, addresses):
    return all(console.row_of(a) and console.row_of(a)[3] == "正常" for a in addresses)


@case
def fan_error_raises_one_box_a_log_line_each_and_error_mail(sandbox):
    smtp = SmtpCapture(sandbox, SMTP_ADDRESS)
    Boards(sandbox, {"searchPort": -1, "boards": ALERT_FLEET})
    log = os.path.join(sandbox.documents(), "Error.Log")  # the default path
    sandbox.seed(ALERT_BOARDS, settings=dict(MAIL_SETTINGS, ErrorLoging=1))
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_for(lambda: rows_normal(console, ALERT_BOARDS), lambda: f"three normal rows (have {console.rows()})")
    check(not console.caution_boxes(), "no box while every board is well")

    # Two boards fall into the same fan error: one box for the fleet.
    for address in ALERT_BOARDS[:2]:
        sandbox.boards.control(f"set {address} errorBits 2")
    console.key("F5")
    wait_for(lambda: all(console.row_of(a)[3] == "ファン異常" for a in ALERT_BOARDS[:2]), "both rows in fan error")
    wait_for(lambda: console.caution_boxes(), "the caution box")
    boxes = console.caution_boxes()
    check(len(boxes) == 1, f"one box for two boards with the same error, found {len(boxes)}")
    texts = labels(boxes[0])
    check(FAN_HEADING in texts and FAN_MESSAGE in texts, f"the box's heading and message: {texts}")

    def lines():
        if not os.path.exists(log):
            return []
        with open(log, "rb") as f:
            return f.read().split(b"\r\n")[:-1]
    wait_for(lambda: len(lines()) == 2, lambda: f"two log lines (have {lines()})")
    for line, address in zip(sorted(lines(), key=lambda l: l[-12:]), ALERT_BOARDS[:2]):
        message = FAN_MESSAGE.encode()
        check(line[20:21] == b" " and line[21:21 + len(message)] == message, f"the line's message: {line!r}")
        check(line.endswith(f" - LAN {address}".encode()) and len(line) == 21 + 256 + 7 + len(address),
              f"the line's padding and address: {line!r}")

    wait_for(lambda: len(smtp.messages()) == 2, lambda: f"two error mails (have {len(smtp.messages())})", 30)
    for mail in smtp.messages():
        check(mail["rcpt_tos"] == ["errors@example.com"], f"error mail to the error recipient only: {mail['rcpt_tos']}")
        check(mail["subject"] == "プロジェクターエラー通知", f"subject {mail['subject']!r}")

    boxes[0].clear_cache()
    ok = console.find("push button", "OK", boxes[0])
    console.click(ok)
    wait_for(lambda: not console.caution_boxes(), "the box closed")
    # The closed box lets the next fan error raise a new one.
    sandbox.boards.control(f"set {ALERT_BOARDS[2]} errorBits 2")
    console.key("F5")
    box = wait_for(lambda: console.caution_boxes(), "a new box for the third board's fan error")[0]
    console.press("push button", "OK", box)
    wait_for(lambda: not console.caution_boxes(), "the second box closed")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


CONTROL_FLEET = [board(f"127.0.21.{i}", f"Saal {i}") for i in range(1, 7)]


@case
def controller_buttons_reach_the_selected_board_only(sandbox):
    boards = Boards(sandbox, {"searchPort": -1, "boards": CONTROL_FLEET})
    addresses = [b["address"] for b in CONTROL_FLEET]
    seen = os.path.join(sandbox.dir.name, "browser-saw")
    browser = os.path.join(sandbox.dir.name, "my browser")
    with open(browser, "w") as out:
        out.write(f"#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '{seen}.part' && mv '{seen}.part' '{seen}'\n")
    os.chmod(browser, 0o755)
    sandbox.seed(addresses, settings=dict(NO_BOXES, BrowserPath=browser))
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_for(lambda: all(row[0] for row in console.rows()) and len(console.rows()) == 6, "six named rows")
    check(console.controller() is None, "no controller before it is asked for")
    console.command("コントローラ(C)")
    wait_for(lambda: console.controller() is not None, "the controller")

    # The buttons in turn, each to one of five boards; the sixth is never chosen.
    for button, name in enumerate(BUTTONS):
        target = CONTROL_FLEET[button % 5]
        console.select_row(target["address"])
        wait_for(lambda: console.controller().name == f"{CONTROLLER} : {target['projectorName']}({target['address']})",
                 lambda: f"the caption naming {target['address']} (it is {console.controller().name!r})")
        before = boards.sent(target["address"], WIRE[button][-1])
        console.press("push button", name, console.controller())
        wait_for(lambda: boards.sent(target["address"], WIRE[button][-1]) > before,
                 f"{WIRE[button]} at {target['address']} from {name}")
    for index, address in enumerate(addresses):
        expected = sorted(c for button in range(index, 22, 5) if index < 5 for c in WIRE[button])
        got = control_commands(boards, address)
        check(got == expected, f"{address} received {got}, expected {expected}")

    console.select_row(addresses[2])
    console.press("push button", WEB_PAGE, console.controller())
    wait_for(lambda: os.path.exists(seen), "the browser")
    with open(seen) as saw:
        arguments = saw.read()
    check(arguments == f"1\nhttp://{addresses[2]}/\n", f"the browser was given {arguments!r}")

    # It opens where it was left.
    ids = run("xdotool", "search", "--onlyvisible", "--name", f"^{CONTROLLER} : ").split()
    check(len(ids) == 1, f"one controller window, found {ids}")
    run("xdotool", "windowmove", "--sync", ids[0], "300", "640")
    where = run("xdotool", "getwindowgeometry", ids[0]).split("Position: ")[1].split()[0]
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")
    console = Console(sandbox)
    wait_for(lambda: console.controller() is not None, "the controller again after the restart")
    ids = wait_for(lambda: run("xdotool", "search", "--onlyvisible", "--name", f"^{CONTROLLER} : ").split(),
                   "the controller's window")
    again = run("xdotool", "getwindowgeometry", ids[0]).split("Position: ")[1].split()[0]
    check(again == where, f"the controller opened at {again}, was at {where}")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


@case
def report_on_schedule_and_send_now_to_one_address(sandbox):
    smtp = SmtpCapture(sandbox, SMTP_ADDRESS)
    Boards(sandbox, {"searchPort": -1, "boards": ALERT_FLEET[:2]})
    # Every day at the next whole minute (or the one after, when that is too close).
    due = time.localtime(time.time() + (70 if time.localtime().tm_sec > 45 else 60))
    sandbox.seed(ALERT_BOARDS[:2], settings=dict(MAIL_SETTINGS, MailPeriodicalKind=0,
                                                  MailPeriodicalDayStatus="1,1,1,1,1,1,1",
                                                  MailPeriodicalTime=f"{due.tm_hour}:{due.tm_min}"))
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_for(lambda: rows_normal(console, ALERT_BOARDS[:2]), "two normal rows")
    wait_for(lambda: smtp.messages(), "the scheduled report", 150)
    report = smtp.messages()[0]
    check(report["rcpt_tos"] == ["reports@example.com"], f"the report to the report recipient only: {report['rcpt_tos']}")
    check(report["subject"] == "プロジェクター定期通知", f"subject {report['subject']!r}")
    csv = [p for p in report["parts"] if p["filename"].endswith(".CSV")]
    check(len(csv) == 1, f"one CSV attachment: {[p['filename'] for p in report['parts']]}")

    # Send now from the mail settings sheet, to an address typed but not applied.
    console.key("alt+o")
    console.key("m")
    sheet = wait_for(lambda: console.find("dialog", "メール設定"), "the mail settings sheet")
    console.click(wait_for(lambda: console.find("page tab", "通知先", sheet), "the recipients tab"))
    field = wait_for(lambda: console.find("text", "通知先3", sheet), "the third address field")
    console.click(field)
    run("xdotool", "type", "--delay", "20", "now@example.com")
    send = wait_for(lambda: console.find("push button", "通知先3 今すぐ送信", sheet), "its send-now button")
    wait_for(lambda: send.getState().contains(pyatspi.STATE_ENABLED), "send-now enabled by the address")
    console.click(send)
    wait_for(lambda: len(smtp.messages()) == 2, "the send-now report", 40)
    check(smtp.messages()[1]["rcpt_tos"] == ["now@example.com"], f"send-now to that address only: {smtp.messages()[1]['rcpt_tos']}")

    # Tick error mail for the report address and confirm: stored at once.
    console.click(console.find("check box", "通知先2 エラー通知", sheet))
    console.click(console.find("push button", "OK", sheet))
    wait_for(lambda: console.find("dialog", "メール設定") is None, "the sheet closed")
    with open(sandbox.profile, encoding="utf-8") as f:
        stored = f.read()
    check("MailToStatus1=\"1,1\"" in stored or "MailToStatus1=1,1" in stored, "the new tick in the profile")
    # And in force at once: a fan error mails both addresses now.
    sandbox.boards.control(f"set {ALERT_BOARDS[0]} errorBits 2")
    console.key("F5")
    wait_for(lambda: len(smtp.messages()) == 3, "the error mail", 40)
    check(sorted(smtp.messages()[2]["rcpt_tos"]) == ["errors@example.com", "reports@example.com"],
          f"error mail to both ticked addresses: {smtp.messages()[2]['rcpt_tos']}")
    box = wait_for(lambda: console.caution_boxes(), "the fan error's box")[0]
    console.press("push button", "OK", box)
    wait_for(lambda: not console.caution_boxes(), "the box closed")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


@case
def group_power_on_goes_to_each_member_in_turn(sandbox):
    fleet = [board(f"127.0.24.{i}", f"Raum {i}", power="standby") for i in range(1, 5)]
    boards = Boards(sandbox, {"searchPort": -1, "boards": fleet})
    addresses = [b["address"] for b in fleet]
    sandbox.seed(addresses, groups=[("Hall", [2, 0, 3])], settings=dict(NO_BOXES, PowerOnMoving=1, NextPowerOnTime=2))
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_named_rows(console, 4)
    hall = console.find("page tab", "Hall")
    console.click(hall)
    wait_for(lambda: sorted(r[1] for r in console.rows()) == sorted(addresses[i] for i in (0, 2, 3)), "Hall's rows")
    # A double-click on the tab opens the controller on the tab's group.
    x, y, width, height = hall.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    run("xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "--repeat", "2", "1")
    wait_for(lambda: console.controller() is not None and console.controller().name == f"{CONTROLLER} : Hall",
             "the controller naming the group")

    console.press("push button", BUTTONS[0], console.controller())
    arrived = {}

    def everyone_on():
        for address in addresses:
            if address not in arrived and boards.sent(address, "POWR   1"):
                arrived[address] = time.monotonic()
        return len(arrived) == 3
    wait_for(everyone_on, lambda: f"power-on at every member of Hall (so far {arrived})", 30)
    order = sorted(arrived, key=arrived.get)
    check(order == [addresses[2], addresses[0], addresses[3]], f"power-on in the order {order}")
    gaps = [arrived[b] - arrived[a] for a, b in zip(order, order[1:])]
    check(all(1.4 <= gap <= 3.5 for gap in gaps), f"two seconds apart, were {gaps}")
    check(boards.sent(addresses[1], "POWR   1") == 0, "nothing for the board outside the group")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


def select_rows(listing, rows):
    """Selects these rows of a list, as ctrl-clicks would."""
    table = listing.queryTable()
    for row in rows:
        table.addRowSelection(row)


def list_texts(listing):
    return [listing.getChildAtIndex(i).name for i in range(listing.childCount)
            if listing.getChildAtIndex(i).getRoleName() == "list item"]


@case
def group_made_in_dialog_survives_kill_then_edit_and_delete(sandbox):
    Boards(sandbox, {"searchPort": -1, "boards": UNSEEN_FLEET})
    sandbox.seed(UNSEEN, settings=NO_BOXES)
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_named_rows(console, 4)

    console.menu("alt+o", "g", "n")
    dialog = console.dialog("グループ設定")
    name = console.find("text", "グループ名：", dialog)
    check(name.queryText().getText(0, -1) == "グループ001", f"proposed name {name.queryText().getText(0, -1)!r}")
    everyone = console.find("list", "すべてのプロジェクター", dialog)
    wait_for(lambda: len(list_texts(everyone)) == 4, "every projector offered")
    select_rows(everyone, [2, 0])
    console.press("push button", "追加 >>", dialog)
    members = console.find("list", "グループに含めるプロジェクター", dialog)
    wait_for(lambda: list_texts(members) == ["Aula Nord (127.0.20.1)", "Mensa (127.0.20.3)"],
             lambda: f"the two members on the right (have {list_texts(members)})")
    console.press("push button", "OK", dialog)
    console.dialog_gone("グループ設定")
    wait_for(lambda: console.tab_names() == ["すべて", "グループ001"] and console.selected_tab() == "グループ001",
             lambda: f"the new group's tab, selected (have {console.tab_names()})")
    wait_for(lambda: sorted(r[0] for r in console.rows()) == ["Aula Nord", "Mensa"], "the group's members listed")

    # Killed right after: nothing gets to close in order.
    console.process.send_signal(signal.SIGKILL)
    console.wait_end()
    console = Console(sandbox)
    wait_for(lambda: console.tab_names() == ["すべて", "グループ001"], "the group after the kill")
    wait_for(lambda: sorted(r[0] for r in console.rows()) == ["Aula Nord", "Mensa"], "its members after the kill")

    console.menu("alt+o", "g", "m")
    dialog = console.dialog("グループ設定")
    name = console.find("text", "グループ名：", dialog)
    name.queryEditableText().setTextContents("Aula & Mensa")
    members = console.find("list", "グループに含めるプロジェクター", dialog)
    select_rows(members, [1])
    console.press("push button", "<< 削除", dialog)
    console.press("push button", "OK", dialog)
    console.dialog_gone("グループ設定")
    wait_for(lambda: console.tab_names() == ["すべて", "Aula & Mensa"], lambda: f"renamed tab ({console.tab_names()})")
    wait_for(lambda: [r[0] for r in console.rows()] == ["Aula Nord"], "the group's one member left")

    # Asked first; No keeps it, Yes deletes it and the All tab takes over.
    console.menu("alt+o", "g", "d")
    console.answer("いいえ(N)")
    check(console.tab_names() == ["すべて", "Aula & Mensa"], f"kept after No: {console.tab_names()}")
    console.menu("alt+o", "g", "d")
    console.answer("はい(Y)")
    wait_for(lambda: console.tab_names() == ["すべて"] and console.selected_tab() == "すべて", "only the All tab")
    wait_for(lambda: len(console.rows()) == 4, "every projector listed again")
    console.process.send_signal(signal.SIGKILL)
    console.wait_end()
    console = Console(sandbox)
    wait_for(lambda: len(console.rows()) == 4, "every projector after the kill")
    check(console.tab_names() == ["すべて"], f"the deleted group stays deleted: {console.tab_names()}")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


@case
def login_board_is_logged_in_from_the_dialog_and_kept(sandbox):
    fleet = [board("127.0.22.1", "Studio", hostName="PJ-LOGIN", login=True, user="admin", password="s3cret-word"),
             board("127.0.22.2", "Foyer")]
    boards = Boards(sandbox, {"searchPort": -1, "boards": fleet})
    sandbox.seed(["127.0.22.1", "127.0.22.2"], settings=NO_BOXES)
    start_window_manager(sandbox)
    console = Console(sandbox)
    dialog = wait_for(lambda: console.top_window("ユーザー名とパスワードの入力"), "the password dialog", 15)
    line = wait_for(lambda: console.find("label", None, dialog) and
                    [l for l in labels(dialog) if l.startswith("PJ-LOGIN")], "the projector line")
    check(line[0].startswith("PJ-LOGIN (127.0.22.1 : "), f"the projector line reads {line}")
    tick = console.find("check box", "このパスワードを保存する", dialog)
    check(tick.getState().contains(pyatspi.STATE_CHECKED), "the save tick is ticked")
    console.find("text", "ユーザー名", dialog).queryEditableText().setTextContents("admin")
    console.find("password text", "パスワード", dialog).queryEditableText().setTextContents("s3cret-word")
    console.press("push button", "OK", dialog)
    wait_for(lambda: console.row_of("127.0.22.1") and console.row_of("127.0.22.1")[3] == "正常",
             "the login board's row, polled")
    check(boards.stats("127.0.22.1")["logins"] == 1, "one login")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")
    with open(sandbox.profile, "rb") as stored:
        check(b"s3cret-word" not in stored.read(), "the password is not stored as it was typed")

    console = Console(sandbox)
    wait_for(lambda: boards.stats("127.0.22.1")["logins"] == 2, "a login with the saved password")
    wait_for(lambda: console.row_of("127.0.22.1") and console.row_of("127.0.22.1")[3] == "正常", "the row again")
    check(console.top_window("ユーザー名とパスワードの入力") is None, "no password dialog the second time")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


def labels(root):
    found = []
    for i in range(root.childCount):
        child = root.getChildAtIndex(i)
        if child.getRoleName() == "label":
            found.append(child.name)
        found += labels(child)
    return found


@case
def add_by_address_once_and_delete_asks_first(sandbox):
    fleet = [board("127.0.23.1", "Aula"),
             board("127.0.23.2", "Keller", faults=[{"on": "info", "kind": "yourip"}])]
    boards = Boards(sandbox, {"searchPort": -1, "boards": fleet})
    sandbox.seed(["127.0.23.1", "127.0.23.2"], settings=NO_BOXES)
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_for(lambda: console.row_of("127.0.23.1") and console.row_of("127.0.23.1")[0] == "Aula" and
             console.row_of("127.0.23.2") and console.row_of("127.0.23.2")[3] == "接続異常", "both rows polled")

    for attempt in range(2):
        console.menu_keys("p", "追加(A)", "a")
        dialog = wait_for(lambda: console.top_window("追加"), "the add dialog")
        def ok_enabled():
            return console.find("push button", "OK", dialog).getState().contains(pyatspi.STATE_ENABLED)
        check(not ok_enabled(), "OK waits for a whole address")
        # "." right after a field filled itself stays in the next field.
        run("xdotool", "type", "--delay", "40", "127.0.23.3")
        wait_for(ok_enabled, "OK for a whole address")
        console.press("push button", "OK", dialog)
        wait_for(lambda: console.top_window("追加") is None, "the add dialog closed")
        wait_for(lambda: console.row_of("127.0.23.3") is not None, "the added row, once")
    check(len(console.rows()) == 3, f"three rows: {console.rows()}")

    # Delete does not even ask for a projector that answers; the properties
    # opened next are the first dialog.
    console.select_row("127.0.23.1")
    console.key("Delete")
    console.menu_keys("p", "プロパティ(P)", "p")
    properties = wait_for(lambda: console.top_window("プロパティ"), "the properties")
    check(console.top_window("削除の確認") is None, "no question for a projector that answers")
    address = console.find("text", "IPアドレス", properties).queryText()
    check(address.getText(0, -1) == "127.0.23.1", "the properties of the selected projector")
    console.press("push button", "閉じる", properties)
    wait_for(lambda: console.top_window("プロパティ") is None, "the properties closed")
    console.select_row("127.0.23.2")
    console.key("Delete")
    box = wait_for(lambda: console.top_window("削除の確認"), "the question")
    check(console.find("push button", "いいえ(N)", box).getState().contains(pyatspi.STATE_IS_DEFAULT),
          "No is the default answer")
    console.press("push button", "いいえ(N)", box)
    wait_for(lambda: console.top_window("削除の確認") is None, "the question closed")
    check(console.row_of("127.0.23.2") is not None and len(console.rows()) == 3, "No keeps the projector")

    console.key("Delete")
    box = wait_for(lambda: console.top_window("削除の確認"), "the question again")
    console.press("push button", "はい(Y)", box)
    wait_for(lambda: console.row_of("127.0.23.2") is None and len(console.rows()) == 2, "the row gone")
    # Its session is gone too: a refresh reaches the others and not it.
    contacts = boards.stats("127.0.23.2")["infoConnections"]
    polls = boards.sent("127.0.23.1", "TTAV   1")
    console.key("F5")
    wait_for(lambda: boards.sent("127.0.23.1", "TTAV   1") > polls, "the whole refresh at the other board")
    check(boards.stats("127.0.23.2")["infoConnections"] == contacts, "no contact with the deleted projector")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


@case
def settings_sheet_takes_effect_at_once_and_survives_restart(sandbox):
    network = SearchNetwork()
    try:
        fleet = {"searchPort": 5006, "boards": [board("10.77.0.2", "Nord"), board("10.77.0.3", "Sued")]}
        boards = Boards(sandbox, fleet, netns_pid=network.boards_pid)
        browser = os.path.join(sandbox.dir.name, "browser")
        open(browser, "w").close()
        # Automatic search every minute, updates every minute; the slider may go down to 1 s.
        sandbox.seed(["10.77.0.2", "10.77.0.3"], settings={**NO_BOXES,
            "AutoSearchFlag": 1, "AutoSearchInterval": 1, "AutoUpdateFlag": 1, "AutoUpdateInterval": 60,
            "AutoUpdateSecondMinimum": 1, "BrowserPath": browser})
        start_window_manager(sandbox)
        console = Console(sandbox)
        started = time.monotonic()
        wait_for(lambda: console.row_of("10.77.0.2") and console.row_of("10.77.0.2")[0] == "Nord", "the first poll")

        console.menu("alt+o", "p")
        sheet = console.dialog("設定")
        console.press("check box", "自動検索する", sheet)
        console.click(console.find("page tab", "一般", sheet))
        slider = wait_for(lambda: console.find("slider", "一覧表示の更新間隔", sheet), "the update slider")
        slider.queryValue().currentValue = 2
        wait_for(lambda: slider.queryValue().currentValue == 2, "the slider at 2 s")
        console.press("push button", "OK", sheet)
        console.dialog_gone("設定")

        def polls():
            return json.loads(stats("10.77.0.2"))["commands"].get("POWR????", 0)

        def stats(address):
            boards.process.stdin.write(f"stats {address}\n")
            boards.process.stdin.flush()
            return boards.process.stdout.readline()
        # Every 2 s now instead of every minute.
        before = polls()
        wait_for(lambda: polls() >= before + 3, "three polls in a few seconds", 15)
        # The automatic search would have come a minute after the start.
        wait_for(lambda: time.monotonic() - started > 75, "a minute and more of the console's running", 90)
        searches = json.loads(stats("*"))["searchAnswers"]
        check(searches == 0, f"no search after automatic search was switched off, the boards answered {searches}")
        check(console.exit_by_menu() == 0, "Exit ends the console with status 0")

        console = Console(sandbox)
        console.menu("alt+o", "p")
        sheet = console.dialog("設定")
        box = console.find("check box", "自動検索する", sheet)
        check(not box.getState().contains(pyatspi.STATE_CHECKED), "automatic search still off")
        slider = console.find("slider", "一覧表示の更新間隔", sheet)
        check(slider.queryValue().currentValue == 2, f"update every {slider.queryValue().currentValue} s")
        console.press("push button", "ｷｬﾝｾﾙ", sheet)
        console.dialog_gone("設定")
        check(console.exit_by_menu() == 0, "Exit ends the console with status 0")
    finally:
        network.close()


@case
def columns_hidden_moved_resized_and_sorted_survive_restart(sandbox):
    Boards(sandbox, {"searchPort": -1, "boards": UNSEEN_FLEET})
    sandbox.seed(UNSEEN, settings=NO_BOXES)
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_named_rows(console, 4)
    run("xdotool", "windowsize", "--sync", console.window, "1200", "560")

    # Hide the model column (number 4) from the header's own menu.
    console.header_menu_choose(console.header("状態"), 4)
    wait_for(lambda: "機種" not in console.header_names(), "the model column hidden")
    check(len(console.header_names()) == 10, f"ten columns: {console.header_names()}")

    # Move the serial number column in front of the address column.
    sx, sy, sw, sh = console.header("製造番号").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    ax, _, _, _ = console.header("IPアドレス").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    console.drag(sx + sw // 2, sy + sh // 2, ax + 5)
    wait_for(lambda: console.header_names()[:3] == ["プロジェクター名", "製造番号", "IPアドレス"],
             lambda: f"the serial number second ({console.header_names()})")

    # A double-click on the input column's divider fits it to "コンピュータ2".
    x, y, width, height = console.header("入力").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    run("xdotool", "mousemove", str(x + width - 1), str(y + height // 2), "click", "--repeat", "2", "--delay", "80", "1")
    wide = wait_for(lambda: (lambda w: w if w > width + 20 else None)(
        console.header("入力").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[2]), "a fitted input column")

    # Sort by address, descending, in the sort dialog.
    console.menu("alt+v", "o")
    dialog = console.dialog("並び替え")
    # The key list has the focus; the address is the entry after the name.
    run("xdotool", "key", "Down")
    wait_for(lambda: console.find("combo box", None, dialog).name == "IPアドレス", "the address as the key")
    console.press("radio button", "降順", dialog)
    console.press("push button", "OK", dialog)
    console.dialog_gone("並び替え")
    address = console.header_names().index("IPアドレス")
    wait_for(lambda: [r[address] for r in console.rows()] == sorted(UNSEEN, reverse=True), "rows by address, descending")
    headers = console.header_names()
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")

    console = Console(sandbox)
    wait_named_rows(console, 4, "again")
    check(console.header_names() == headers, f"columns {console.header_names()} != {headers}")
    address = headers.index("IPアドレス")
    check([r[address] for r in console.rows()] == sorted(UNSEEN, reverse=True), f"still descending: {console.rows()}")
    width_now = console.header("入力").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[2]
    check(width_now == wide, f"input column {width_now} wide, was {wide}")
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")


class SearchNetwork:
    """lvx0 (10.77.0.1/24) here, its veth peer in a namespace of boards
    (10.77.0.2, 10.77.0.3). Refuses to build unless this namespace holds lo only."""

    def __init__(self):
        links = self.links()
        check(links == ["lo"], f"the case's namespace must hold only lo, it has {links}")
        self.holder = subprocess.Popen(["unshare", "--net", "--", "sleep", "infinity"])
        self.boards_pid = self.holder.pid
        wait_for(lambda: os.readlink(f"/proc/{self.boards_pid}/ns/net") != os.readlink("/proc/self/ns/net"),
                 "the boards' namespace")
        inside = ["nsenter", "-t", str(self.boards_pid), "-n"]
        run("ip", "link", "add", "lvx0", "type", "veth", "peer", "name", "lvx1", "netns", str(self.boards_pid))
        run("ip", "addr", "add", "10.77.0.1/24", "dev", "lvx0")
        run("ip", "link", "set", "lvx0", "up")
        run(*inside, "ip", "link", "set", "lo", "up")
        for address in ("10.77.0.2", "10.77.0.3"):
            run(*inside, "ip", "addr", "add", address + "/24", "dev", "lvx1")
        run(*inside, "ip", "link", "set", "lvx1", "up")
        wait_for(lambda: "LOWER_UP" in run("ip", "link", "show", "lvx0"), "the test link")
        check(self.links() == ["lo", "lvx0"], f"only the test's links, found {self.links()}")

    @staticmethod
    def links():
        # Asked of the kernel: /sys may still show the namespace it was mounted in.
        return sorted(line.split(":")[1].strip().split("@")[0] for line in run("ip", "-o", "link", "show").splitlines())

    def close(self):
        self.holder.kill()
        self.holder.wait()


def main():
    name, bin_dir = sys.argv[1], sys.argv[2]
    sandbox = Sandbox(bin_dir)
    try:
        CASES[name](sandbox)
        print(f"e2e {name}: passed")
        return 0
    except Failure as failure:
        print(f"e2e {name}: FAILED: {failure}")
        # LUMIVEX_E2E_SHOTS=DIR keeps the screen as it was, to see why.
        shots = os.environ.get("LUMIVEX_E2E_SHOTS")
        if shots:
            os.makedirs(shots, exist_ok=True)
            subprocess.run(["import", "-window", "root", os.path.join(shots, name + ".png")], check=False)
        return 1
    finally:
        sandbox.close()


if __name__ == "__main__":
    sys.exit(main())
