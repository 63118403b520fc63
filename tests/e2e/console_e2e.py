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
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline()
        check(answer.startswith("OK"), f"{line}: {answer!r}")


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

    def press(self, root, name, role="push button"):
        node = wait_for(lambda: self.find(role, name, root), f"the {role} {name!r}")
        node.queryAction().doAction(0)

    def answer(self, button):
        """Presses a button of the message box that is open."""
        box = wait_for(lambda: self.find("alert"), "a message box")
        self.press(box, button)
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


@case
def start_rows_and_second_start(sandbox):
    Boards(sandbox, {"searchPort": -1, "boards": UNSEEN_FLEET})
    sandbox.seed(UNSEEN)
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
    sandbox.seed(UNSEEN, groups=[("Hall", [0, 2]), ("Studio", [1, 3])])
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_for(lambda: len(console.rows()) == 4 and all(row[0] for row in console.rows()), "four named rows")
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
        sandbox.seed(["10.77.0.2"])
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
    sandbox.seed(UNSEEN)
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_for(lambda: len(console.rows()) == 4 and all(row[0] for row in console.rows()), "four named rows")

    console.menu("alt+o", "g", "n")
    dialog = console.dialog("グループ設定")
    name = console.find("text", "グループ名：", dialog)
    check(name.queryText().getText(0, -1) == "グループ001", f"proposed name {name.queryText().getText(0, -1)!r}")
    everyone = console.find("list", "すべてのプロジェクター", dialog)
    wait_for(lambda: len(list_texts(everyone)) == 4, "every projector offered")
    select_rows(everyone, [2, 0])
    console.press(dialog, "追加 >>")
    members = console.find("list", "グループに含めるプロジェクター", dialog)
    wait_for(lambda: list_texts(members) == ["Aula Nord (127.0.20.1)", "Mensa (127.0.20.3)"],
             lambda: f"the two members on the right (have {list_texts(members)})")
    console.press(dialog, "OK")
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
    console.press(dialog, "<< 削除")
    console.press(dialog, "OK")
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
def settings_sheet_takes_effect_at_once_and_survives_restart(sandbox):
    network = SearchNetwork()
    try:
        fleet = {"searchPort": 5006, "boards": [board("10.77.0.2", "Nord"), board("10.77.0.3", "Sued")]}
        boards = Boards(sandbox, fleet, netns_pid=network.boards_pid)
        browser = os.path.join(sandbox.dir.name, "browser")
        open(browser, "w").close()
        # Automatic search every minute, updates every minute; the slider may go down to 1 s.
        sandbox.seed(["10.77.0.2", "10.77.0.3"], settings={
            "AutoSearchFlag": 1, "AutoSearchInterval": 1, "AutoUpdateFlag": 1, "AutoUpdateInterval": 60,
            "AutoUpdateSecondMinimum": 1, "BrowserPath": browser})
        start_window_manager(sandbox)
        console = Console(sandbox)
        started = time.monotonic()
        wait_for(lambda: console.row_of("10.77.0.2") and console.row_of("10.77.0.2")[0] == "Nord", "the first poll")

        console.menu("alt+o", "p")
        sheet = console.dialog("設定")
        console.press(sheet, "自動検索する", role="check box")
        console.click(console.find("page tab", "一般", sheet))
        slider = wait_for(lambda: console.find("slider", "一覧表示の更新間隔", sheet), "the update slider")
        slider.queryValue().currentValue = 2
        wait_for(lambda: slider.queryValue().currentValue == 2, "the slider at 2 s")
        console.press(sheet, "OK")
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
        console.press(sheet, "ｷｬﾝｾﾙ")
        console.dialog_gone("設定")
        check(console.exit_by_menu() == 0, "Exit ends the console with status 0")
    finally:
        network.close()


@case
def columns_hidden_moved_resized_and_sorted_survive_restart(sandbox):
    Boards(sandbox, {"searchPort": -1, "boards": UNSEEN_FLEET})
    sandbox.seed(UNSEEN)
    start_window_manager(sandbox)
    console = Console(sandbox)
    wait_for(lambda: len(console.rows()) == 4 and all(row[0] for row in console.rows()), "four named rows")
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
    console.press(dialog, "降順", role="radio button")
    console.press(dialog, "OK")
    console.dialog_gone("並び替え")
    address = console.header_names().index("IPアドレス")
    wait_for(lambda: [r[address] for r in console.rows()] == sorted(UNSEEN, reverse=True), "rows by address, descending")
    headers = console.header_names()
    check(console.exit_by_menu() == 0, "Exit ends the console with status 0")

    console = Console(sandbox)
    wait_for(lambda: len(console.rows()) == 4 and all(row[0] for row in console.rows()), "four named rows again")
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
        return 1
    finally:
        sandbox.close()


if __name__ == "__main__":
    sys.exit(main())
