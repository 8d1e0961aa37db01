#!/usr/bin/python3
"""Drives card_image in a real X session as a person would and checks what it shows.

run_e2e.sh starts the program on a sample site and then this script, inside the session. Input
goes through xdotool (real key and mouse events through the X server and the window manager);
every check reads the windows through AT-SPI, where each control carries its control name as
accessible description. Which rows to pick is worked out from the site's own files: the day
files (code page 950) and the photo folder.
"""

import argparse
import collections
import datetime
import os
import re
import shutil
import subprocess
import sys
import time

import pyatspi

APP_NAME = "card_image"
TITLE = "刷卡影像資料查詢"
PHOTO_VIEW_TITLE = "影像檢視："
DIALOG_TITLE = "伺服器參數檔載入"
PARAMETER_FILE = "site.spf"
TWIPS_PER_PIXEL = 15
DATE_FORMAT = "%Y/%m/%d"  # how the date picker shows a date

# Controls of the two windows by control name; every one must be found under that name.
MAIN_CONTROLS = (
    ["Label1(%d)" % i for i in range(4)]
    + ["DTPicker1", "Check1", "Text2"]
    + ["Option1(%d)" % i for i in range(3)]
    + ["Command1", "Command2", "Command3", "Label2(0)", "Label2(1)", "Label3", "Label4", "Label5"]
    + ["List1(%d)" % k for k in range(4)]
    + ["Label6", "Label7", "Label8", "Label10"]
    + ["Label9(%d)" % i for i in range(4)]
    + ["Image1", "Image2"]
)
DIALOG_CONTROLS = (
    ["Label1(%d)" % i for i in range(4)]
    + ["Drive1", "Dir1", "File1", "Cmd_Add", "Cmd_Del", "Text1"]
    + ["Command1(%d)" % i for i in range(3)]
)
PHOTO_VIEW_CONTROLS = ["photo_view_image", "photo_view_frames", "photo_view_card_day"]
HISTORY_CONTROLS = ["card_history_field", "card_history_search", "card_history_end",
                    "card_history_range", "card_history_progress", "card_history_days",
                    "card_history_heat", "card_history_swipes"]
HISTORY_DAYS = 30  # the card history's range unless another is chosen
LIVE_VIEW_CONTROLS = ["live_view_card", "live_view_direction", "live_view_pause",
                      "live_view_rows", "live_view_photo", "live_view_status"]
LIVE_SWIPES = 3  # swipes the card reader stand-in appends while the live view watches
# The keyboard focus order of the main window.
MAIN_FOCUS_ORDER = [
    "Option1(2)", "Command1", "Check1", "Text2", "Command2", "DTPicker1",
    "List1(0)", "Command3", "List1(1)", "List1(2)", "List1(3)",
]
# Design geometry the layout measures from, in twips.
LIST_TOP, IMAGE_TOP, IMAGE_LEFT = 1890, 1635, 4575
BOTTOM_MARGIN, RIGHT_MARGIN = 700, 350

ROWS_IN_VIEW = 6  # rows of a result list that show at the window's base size
STILL, SEQUENCE, PARTIAL, NONE = "still photo", "sequence", "partial sequence", "no photo"
STILL_FRAMES = ["刷卡照相"]  # the inspection window's list of frames for a still photo
DOC_SHOTS = {"dialog": "dialog.png", "main_window": "main_window.png",
             "playback_end": "playback_end.png", "photo_view": "photo_view.png",
             "photo_view_beside": "photo_view_beside.png", "save_dialog": "save_dialog.png",
             "card_history": "card_history.png", "live_view": "live_view.png"}
# The parts of Qt's save dialog whose words must be Chinese.
SAVE_DIALOG_CONTROLS = ["lookInLabel", "fileNameLabel", "fileTypeLabel", "buttonBox"]
EXPORT_TITLE = "匯出刷卡紀錄"


class Failure(Exception):
    """A check failed; the message says what was expected and what was seen."""


# --- The site, read the way the viewer reads it ----------------------------------------------

def file_values(path):
    """The values of a parameter or day file: commas and line ends separate, quotes enclose,
    an unquoted whole number is shown in its shortest form."""
    with open(path, encoding="cp950") as f:
        text = f.read()
    values = []
    for line in text.splitlines():
        position = 0
        while True:
            if line.startswith('"', position):
                end = line.index('"', position + 1)
                values.append(line[position + 1:end])
                end = line.find(",", end)
            else:
                end = line.find(",", position)
                raw = line[position:] if end < 0 else line[position:end]
                values.append(str(int(raw)) if re.fullmatch(r"\d+", raw) else raw)
            if end < 0:
                break
            position = end + 1
    return values


class Swipe:
    def __init__(self, time_text, card, name, direction, frames):
        self.time, self.card, self.name, self.direction, self.frames = (
            time_text, card, name, direction, frames)
        self.kind = photo_kind(frames)

    def row(self):
        return [self.time, self.card, self.name, self.direction]

    def title(self, day):
        """The inspection window's caption while it shows this swipe of day."""
        return "%s%s %s %s %s" % (PHOTO_VIEW_TITLE, day.isoformat(), self.time, self.card,
                                  self.name)

    def day_row(self):
        """The swipe's row in the inspection window's list of the card's day."""
        return "%s\n%s" % (self.time, self.direction)


def photo_frames(photos, card, day, time_text):
    """The photo's frames as the inspection window lists them: 刷卡照相 for a still photo, else
    the numbers of the sequence's frames found."""
    hours, minutes, seconds = (int(part) for part in time_text.split(":"))
    stem = os.path.join(photos, "%s-%s-%02d%02d%02d" % (card, day.strftime("%y%m%d"), hours,
                                                        minutes, seconds))
    if os.path.isfile(stem + "-C.jpg"):
        return STILL_FRAMES
    return [str(n) for n in range(1, 6) if os.path.isfile("%s-%d.jpg" % (stem, n))]


def photo_kind(frames):
    if frames == STILL_FRAMES:
        return STILL
    return SEQUENCE if len(frames) == 5 else PARTIAL if frames else NONE


def day_swipes(records, photos, day):
    values = file_values(os.path.join(records, "%d-%d-%d.txt" % (day.year, day.month, day.day)))
    return [Swipe(*values[i:i + 4], photo_frames(photos, values[i + 1], day, values[i]))
            for i in range(0, len(values) - 3, 4)]


class Plan:
    """The day to query and a card whose swipes that day include each kind of photo; for the
    inspection window, the busiest card of that day."""

    def __init__(self, site, last_day):
        parameters = file_values(os.path.join(site, PARAMETER_FILE))
        records, photos = parameters[17], parameters[19]
        # Any day but the last, so that the date must really be changed.
        for days_back in (4, 1, 2, 3, 5, 6):
            self.day = last_day - datetime.timedelta(days=days_back)
            self.all_swipes = day_swipes(records, photos, self.day)
            for card in dict.fromkeys(s.card for s in self.all_swipes):
                self.card = card
                self.swipes = [s for s in self.all_swipes if s.card == card]
                kinds = [s.kind for s in self.swipes]
                # The still photo's row is clicked: it must be in view without scrolling.
                if all(kind in kinds for kind in (STILL, SEQUENCE, NONE)) and kinds.index(
                        STILL) < ROWS_IN_VIEW:
                    self.still, self.sequence, self.none = (
                        kinds.index(STILL), kinds.index(SEQUENCE), kinds.index(NONE))
                    self.plan_inspection()
                    return
        raise Failure("the sample site has no card with a still photo, a sequence and a swipe "
                      "without photo on one day")

    def plan_inspection(self):
        """A still photo of the busiest card, in view in the main window, is opened in the
        inspection window; a neighbour with a full sequence is then clicked there (the shown
        swipe is scrolled to the middle of the card's day, so its neighbours are in view)."""
        counts = collections.Counter(s.card for s in self.all_swipes)
        self.busy_card = counts.most_common(1)[0][0]
        self.busy_swipes = [s for s in self.all_swipes if s.card == self.busy_card]
        kinds = [s.kind for s in self.busy_swipes]
        for row in range(min(ROWS_IN_VIEW, len(kinds))):
            neighbours = [n for n in (row - 1, row + 1)
                          if 0 <= n < len(kinds) and kinds[n] == SEQUENCE]
            if kinds[row] == STILL and neighbours:
                self.inspected, self.chosen = row, neighbours[0]
                return
        raise Failure("card %s: no still photo in view next to a sequence" % self.busy_card)


# --- Input ----------------------------------------------------------------------------------

def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def press(*keys):
    xdotool("key", "--delay", "120", *keys)


def type_keys(text):
    xdotool("type", "--delay", "60", text)


def click_at(x, y, clicks=1):
    xdotool("mousemove", "--sync", str(x), str(y), "click", "--repeat", str(clicks), "--delay",
            "80", "1")


def drag(start, end, steps=4):
    # No move waits with --sync: that waits for the pointer to move, in vain when it is already
    # there or when the window manager holds it while the program restores its size.
    xdotool("mousemove", str(start[0]), str(start[1]))
    time.sleep(0.1)
    xdotool("mousedown", "1")
    for i in range(1, steps + 1):
        time.sleep(0.1)
        x = start[0] + (end[0] - start[0]) * i // steps
        y = start[1] + (end[1] - start[1]) * i // steps
        xdotool("mousemove", str(x), str(y))
    time.sleep(0.2)
    xdotool("mouseup", "1")


# --- Reading the windows through AT-SPI -----------------------------------------------------

def wait_for(what, probe, timeout=10.0):
    """Polls probe() -> (done, seen) until done; fails with what and the last thing seen."""
    deadline = time.monotonic() + timeout
    seen = None
    while True:
        try:
            done, seen = probe()
        except Failure:
            raise
        except Exception as error:  # a window or control that went away while being read
            done, seen = False, "error: %s" % error
        if done:
            return seen
        if time.monotonic() > deadline:
            raise Failure("%s: not seen within %.0f s; last seen: %r" % (what, timeout, seen))
        time.sleep(0.1)


def expect(what, seen, wanted):
    if seen != wanted:
        raise Failure("%s: expected %r, seen %r" % (what, wanted, seen))


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APP_NAME:
            return app
    return None


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def stable_extents(accessible, what):
    """A window's place is final only once the window manager has placed it: two readings
    in a row must agree."""
    previous = [None]

    def probe():
        now = extents(accessible)
        done = now == previous[0] and now[2] > 0 and now[3] > 0
        previous[0] = now
        return done, now

    return wait_for("stable extents of " + what, probe, timeout=5)


def has_state(accessible, state):
    return accessible.getState().contains(state)


class Window:
    """A top-level window of the program and its controls by control name."""

    def __init__(self, accessible, names):
        self.accessible = accessible
        self.controls = {}
        self._collect(accessible)
        missing = [name for name in names if name not in self.controls]
        if missing:
            raise Failure("%s: no control described as %s" % (accessible.name, missing))

    def _collect(self, accessible):
        for child in accessible:
            if child is None:
                continue
            if child.description:
                self.controls[child.description] = child
            if child.getRoleName() not in ("list", "table", "combo box"):
                self._collect(child)

    def __getitem__(self, name):
        return self.controls[name]

    def caption(self):
        return self.accessible.name

    def text(self, name):
        control = self[name]
        if "Text" in pyatspi.utils.listInterfaces(control) and control.getRoleName() != "label":
            return control.queryText().getText(0, -1)
        return control.name

    def focused(self):
        for name, control in self.controls.items():
            if has_state(control, pyatspi.STATE_FOCUSED):
                return name
        return None

    def showing(self, name):
        return has_state(self[name], pyatspi.STATE_SHOWING)

    def checked(self, name):
        return has_state(self[name], pyatspi.STATE_CHECKED)

    def click(self, name, clicks=1):
        x, y, width, height = stable_extents(self[name], name)
        click_at(x + width // 2, y + height // 2, clicks)

    # A list is a table on AT-SPI. Qt 6.4 puts the whole shared model into each list, one
    # column per field, so list k's own rows are column k; later Qt versions give one column.
    def _table(self, name):
        table = self[name].queryTable()
        return table, (int(name[-2]) if table.nColumns > 1 else 0)

    def rows(self, name):
        table, column = self._table(name)
        return [table.getAccessibleAt(row, column).name for row in range(table.nRows)]

    def row_count(self, name):
        return self._table(name)[0].nRows

    def row_text(self, name, row):
        table, column = self._table(name)
        return table.getAccessibleAt(row, column).name

    def selected_rows(self, name):
        table, column = self._table(name)
        return [row for row in range(table.nRows) if table.isSelected(row, column)]

    def click_row(self, name, row):
        table, column = self._table(name)
        cell = table.getAccessibleAt(row, column)
        x, y, width, height = stable_extents(cell, "%s row %d" % (name, row))
        click_at(x + width // 2, y + height // 2)


def top_window(description, names, what, timeout=15.0):
    def probe():
        app = application()
        for window in app or []:
            if window is not None and window.description == description and has_state(
                    window, pyatspi.STATE_SHOWING):
                return True, window
        return False, "no such window" if app else "%s not on the accessibility bus" % APP_NAME

    window = Window(wait_for(what, probe, timeout), names)
    stable_extents(window.accessible, what)
    return window


def window_gone(description, what, kept=False):
    """The window closed: gone from the bus, or only hidden when the program keeps it to show
    it again (Qt then leaves it among the application's windows)."""
    def probe():
        windows = [w.name for w in application() or [] if w is not None
                   and w.description == description
                   and (not kept or has_state(w, pyatspi.STATE_SHOWING))]
        return not windows, windows

    wait_for(what, probe)


# --- The session ----------------------------------------------------------------------------

class Session:
    def __init__(self, args):
        self.args = args
        self.plan = Plan(args.site, datetime.date.fromisoformat(args.site_date))
        self.main = None
        self.shots = 0

    def screenshot(self, name, window, settled=False):
        """Saves the window with its frame as a test artefact (and for the README). Settled:
        taken again until two pictures agree, for pictures that are decoded one by one."""
        self.shots += 1
        path = os.path.join(self.args.artifacts, "%02d_%s.png" % (self.shots, name))
        self.grab(path, window)
        if settled:
            def probe():
                with open(path, "rb") as f:
                    before = f.read()
                self.grab(path, window)
                with open(path, "rb") as f:
                    return f.read() == before, "the picture still changing"

            wait_for("a settled picture of " + name, probe)
        if self.args.docs and name in DOC_SHOTS:
            shutil.copyfile(path, os.path.join(self.args.docs, DOC_SHOTS[name]))

    def grab(self, path, window):
        if window is None:  # the whole screen, to show where the windows are
            subprocess.run([self.args.grab, path], check=True)
            return
        x, y, width, height = extents(window.accessible)
        left, right, top, bottom = self.frame_extents()
        subprocess.run([self.args.grab, path, str(x - left), str(y - top),
                        str(width + left + right), str(height + top + bottom)], check=True)

    @staticmethod
    def frame_extents():
        """The window manager's frame around the active window: left, right, top, bottom."""
        window = subprocess.run(["xdotool", "getactivewindow"], capture_output=True, text=True,
                                check=True).stdout.strip()
        output = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"],
                                capture_output=True, text=True, check=True).stdout
        numbers = re.findall(r"\d+", output.partition("=")[2])
        return tuple(int(n) for n in numbers) if len(numbers) == 4 else (0, 0, 0, 0)

    def check_accessible_names(self, window):
        """Every control has a name: its text, or its role in words where it shows none. Only
        labels (whose name is their text) and the hidden picture box may be without one."""
        unnamed = [name for name, control in window.controls.items()
                   if not control.name and control.getRoleName() != "label"
                   and has_state(control, pyatspi.STATE_SHOWING)]
        if unnamed:
            raise Failure("%s: controls without accessible name: %s" % (window.caption(), unnamed))

    # The dialog at startup: type the file name and press Enter.
    def choose_parameter_file(self):
        dialog = top_window("file_select", DIALOG_CONTROLS, "the parameter-file dialog at start")
        expect("dialog caption", dialog.caption(), DIALOG_TITLE)
        expect("files listed", dialog.rows("File1"), [PARAMETER_FILE])
        expect("focus in the dialog", dialog.focused(), "File1")
        expect("新增 shown in load mode", dialog.showing("Command1(0)"), False)
        self.check_accessible_names(dialog)
        self.screenshot("dialog", dialog)

        dialog.click("Text1")
        self.type_into(dialog, "Text1", PARAMETER_FILE)
        press("Return")
        window_gone("file_select", "the dialog closing on Enter")

        self.main = top_window("Card_Image", MAIN_CONTROLS, "the main window")
        wanted = TITLE + "：" + os.path.join(self.args.site, PARAMETER_FILE)
        wait_for("caption naming the parameter file",
                 lambda: (self.main.caption() == wanted, self.main.caption()))

    def type_into(self, window, name, text):
        """Types text into a text box; characters the X input path dropped are typed again."""
        for _ in range(3):
            press("ctrl+a", "BackSpace")
            type_keys(text)
            try:
                wait_for("%r in %s" % (text, name),
                         lambda: (window.text(name) == text, window.text(name)), timeout=3)
                return
            except Failure as failure:
                print("e2e: retyping: %s" % failure)
        raise Failure("%s: could not type %r" % (name, text))

    def check_start_state(self):
        main = self.main
        expect("date picker at start", main.text("DTPicker1"),
               datetime.date.today().strftime(DATE_FORMAT))
        expect("direction options", [main.checked("Option1(%d)" % i) for i in range(3)],
               [False, False, True])
        expect("card filter", main.checked("Check1"), False)
        expect("card text", main.text("Text2"), "")
        expect("rows at start", [main.row_count("List1(%d)" % k) for k in range(4)], [0] * 4)
        expect("status and detail labels", [main.text(n) for n in
                                             ["Label6"] + ["Label9(%d)" % i for i in range(4)]],
               [""] * 5)
        expect("focus at start", main.focused(), "Option1(2)")
        self.check_accessible_names(main)
        # The window opens in the middle of the screen (the dialog was centred on it).
        screen = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True,
                                text=True, check=True).stdout.split()
        x, y, width, height = extents(main.accessible)
        if abs(x + width / 2 - int(screen[0]) / 2) > 20:
            raise Failure("main window not centred: %s on a %sx%s screen"
                          % ((x, y, width, height), screen[0], screen[1]))
        self.base_extents = extents(main.accessible)
        # Laid out for its outer size, the frame the window manager added included.
        wait_for("lists and photo box following the window at start", self.layout_matches)

    # Keyboard only: the whole focus order, then the date typed and the query pressed.
    def query_by_keyboard(self):
        main, plan = self.main, self.plan
        for expected in MAIN_FOCUS_ORDER[1:] + MAIN_FOCUS_ORDER[:1]:
            press("Tab")
            wait_for("focus on " + expected, lambda: (main.focused() == expected, main.focused()))
        # The key released in each list ran the photo lookup on no selection.
        expect("status after keys in empty lists", main.text("Label6"), "影像不存在")
        for _ in range(MAIN_FOCUS_ORDER.index("DTPicker1")):
            press("Tab")
        wait_for("focus on the date picker",
                 lambda: (main.focused() == "DTPicker1", main.focused()))
        type_keys(plan.day.strftime("%Y%m%d"))  # Tab selected the year; each part moves on
        wanted = plan.day.strftime(DATE_FORMAT)
        wait_for("date " + wanted, lambda: (main.text("DTPicker1") == wanted,
                                            main.text("DTPicker1")))
        press("shift+Tab")
        wait_for("focus back on 查詢", lambda: (main.focused() == "Command2", main.focused()))
        press("space")
        count = len(plan.all_swipes)
        wait_for("%d rows of %s" % (count, plan.day),
                 lambda: (main.row_count("List1(0)") == count, main.row_count("List1(0)")))
        for k in range(4):
            expect("rows in List1(%d)" % k, main.row_count("List1(%d)" % k), count)
            for row in (0, count // 2, count - 1):
                expect("List1(%d) row %d" % (k, row), main.row_text("List1(%d)" % k, row),
                       plan.all_swipes[row].row()[k])
            expect("selection in List1(%d) after the query" % k,
                   main.selected_rows("List1(%d)" % k), [])
        expect("status after the query", main.text("Label6"), "")

    # Mouse: tick the card filter, type the card, click 查詢.
    def query_one_card(self):
        main, plan = self.main, self.plan
        main.click("Check1")
        wait_for("card filter ticked", lambda: (main.checked("Check1"), main.checked("Check1")))
        main.click("Text2")
        self.type_into(main, "Text2", plan.card)
        main.click("Command2")
        wanted = [s.row() for s in plan.swipes]
        wait_for("the %d rows of card %s" % (len(wanted), plan.card),
                 lambda: (self.shown_rows() == wanted, self.shown_rows()))
        expect("selection after the query", self.selections(), [[]] * 4)
        expect("status after the query", main.text("Label6"), "")

    def shown_rows(self):
        columns = [self.main.rows("List1(%d)" % k) for k in range(4)]
        return [list(row) for row in zip(*columns)]

    def selections(self):
        return [self.main.selected_rows("List1(%d)" % k) for k in range(4)]

    def detail(self):
        return [self.main.text(n) for n in ["Label6"] + ["Label9(%d)" % i for i in range(4)]]

    def expected_detail(self, swipe, kind_text):
        return ["", "%s %s" % (self.plan.day.strftime("%y%m%d"), swipe.time), swipe.card,
                "%s--%s" % (swipe.name, swipe.direction), kind_text]

    def wait_for_row(self, row, detail, what):
        wait_for(what, lambda: ((self.selections(), self.detail()) == ([[row]] * 4, detail),
                                (self.selections(), self.detail())))

    def move_by_arrows(self, start, target):
        key = "Down" if target > start else "Up"
        press(*[key] * abs(target - start))

    def browse(self):
        plan = self.plan
        # A press on a row of the name column selects that row in all four lists.
        self.main.click_row("List1(2)", plan.still)
        self.wait_for_row(plan.still, self.expected_detail(plan.swipes[plan.still], "刷卡照相"),
                          "still photo of row %d" % plan.still)
        self.screenshot("main_window", self.main)

        self.move_by_arrows(plan.still, plan.none)
        self.wait_for_row(plan.none, ["影像不存在", "", "", "", ""],
                          "no photo at row %d after the arrow keys" % plan.none)

    def watch_playback(self):
        plan = self.plan
        self.move_by_arrows(plan.none, plan.sequence)
        swipe = plan.swipes[plan.sequence]
        self.wait_for_row(plan.sequence, self.expected_detail(swipe, "動態播放"),
                          "playback of row %d" % plan.sequence)
        started = time.monotonic()
        self.wait_for_row(plan.sequence, self.expected_detail(swipe, "播放結束"),
                          "end of the playback")
        # Five frames a second apart: frame 1 comes four ticks after frame 5.
        played = time.monotonic() - started
        if played < 3.0:
            raise Failure("the playback of five frames ended after %.1f s" % played)
        self.screenshot("playback_end", self.main)

    def layout_matches(self):
        """Lists and photo box follow the window's outer size, frame included."""
        main = self.main
        x, y, width, height = extents(main.accessible)
        left, right, top, bottom = self.frame_extents()
        outer_width = (width + left + right) * TWIPS_PER_PIXEL
        outer_height = (height + top + bottom) * TWIPS_PER_PIXEL
        wanted = [round((outer_height - LIST_TOP - BOTTOM_MARGIN) / TWIPS_PER_PIXEL)] * 4 + [
            round((outer_width - IMAGE_LEFT - RIGHT_MARGIN) / TWIPS_PER_PIXEL),
            round((outer_height - IMAGE_TOP - BOTTOM_MARGIN) / TWIPS_PER_PIXEL)]
        seen = [extents(main["List1(%d)" % k])[3] for k in range(4)] + list(
            extents(main["Image1"])[2:])
        return all(abs(a - b) <= 1 for a, b in zip(seen, wanted)), (seen, wanted)

    def resize_by_frame(self):
        main = self.main
        x, y, width, height = stable_extents(main.accessible, "main window")
        left, right, top, bottom = self.frame_extents()
        # Inside the frame's bottom-right corner.
        corner = (x + width + right // 2, y + height + bottom // 2)
        larger = (corner[0] + 200, corner[1] + 150)
        drag(corner, larger)
        wait_for("the window 200 x 150 larger", lambda: (
            extents(main.accessible)[2:] == (width + 200, height + 150), extents(main.accessible)))
        wait_for("lists and photo box following the larger window", self.layout_matches)
        self.screenshot("larger", main)

        # Below the base size: the window springs back to the size it opened with.
        drag(larger, (corner[0] - 150, corner[1] - 100))
        wanted = self.base_extents[2:]
        wait_for("the window back at its base size %s" % (wanted,), lambda: (
            stable_extents(main.accessible, "main window")[2:] == wanted,
            extents(main.accessible)))
        wait_for("lists and photo box at the base size", self.layout_matches)

    def load_and_cancel(self):
        caption = self.main.caption()
        self.main.click("Command3")
        dialog = top_window("file_select", DIALOG_CONTROLS, "the dialog on 參數檔載入")
        expect("dialog caption", dialog.caption(), DIALOG_TITLE)
        expect("file name box of a new dialog", dialog.text("Text1"), "")
        expect("files listed", dialog.rows("File1"), [PARAMETER_FILE])
        press("Escape")
        window_gone("file_select", "the dialog closing on Esc")
        expect("caption after cancelling", self.main.caption(), caption)
        expect("rows after cancelling", self.shown_rows(), [s.row() for s in self.plan.swipes])

    # The busiest card's day in the inspection window: opened by a double-click on the photo
    # box, another swipe of the day clicked there, closed with Esc.
    def inspect_photos(self):
        main, plan = self.main, self.plan
        expect("card filter still ticked", main.checked("Check1"), True)
        main.click("Text2")
        self.type_into(main, "Text2", plan.busy_card)
        main.click("Command2")
        wanted = [s.row() for s in plan.busy_swipes]
        wait_for("the %d rows of card %s" % (len(wanted), plan.busy_card),
                 lambda: (self.shown_rows() == wanted, self.shown_rows()[:3]))
        shown, chosen = plan.busy_swipes[plan.inspected], plan.busy_swipes[plan.chosen]
        main.click_row("List1(2)", plan.inspected)
        self.wait_for_row(plan.inspected, self.expected_detail(shown, "刷卡照相"),
                          "still photo of row %d" % plan.inspected)
        caption = main.caption()

        main.click("Image1", clicks=2)
        view = top_window("photo_view", PHOTO_VIEW_CONTROLS,
                          "the inspection window on a double-click on Image1")
        day_rows = [s.day_row() for s in plan.busy_swipes]

        def showing(swipe, row):
            seen = (view.caption(), view.rows("photo_view_frames"),
                    view.selected_rows("photo_view_card_day"), view.rows("photo_view_card_day"))
            return seen == (swipe.title(plan.day), swipe.frames, [row], day_rows), seen

        wait_for("the inspection window on %s" % shown.time,
                 lambda: showing(shown, plan.inspected))

        view.click_row("photo_view_card_day", plan.chosen)
        wait_for("the inspection window on %s after a click on its row" % chosen.time,
                 lambda: showing(chosen, plan.chosen))
        self.screenshot("photo_view", view, settled=True)
        self.screenshot("photo_view_beside", None)

        press("Escape")
        window_gone("photo_view", "the inspection window closing on Esc", kept=True)
        expect("main window after the inspection window closed",
               (has_state(main.accessible, pyatspi.STATE_SHOWING), main.caption(),
                self.selections()), (True, caption, [[plan.inspected]] * 4))

    # The busiest card's month in the card history window: Ctrl+H in a result list, every day
    # read, photographed, closed with Esc.
    def card_history(self):
        main, plan = self.main, self.plan
        main.click_row("List1(2)", plan.inspected)
        press("ctrl+h")
        history = top_window("card_history", HISTORY_CONTROLS, "the card history on Ctrl+H")
        first = plan.day - datetime.timedelta(days=HISTORY_DAYS - 1)
        expect("card history caption", history.caption(),
               "本卡歷史：%s %s 至 %s" % (plan.busy_card, first, plan.day))
        days = history["card_history_days"].queryTable()
        wait_for("the %d days of the card history" % HISTORY_DAYS,
                 lambda: (days.nRows == HISTORY_DAYS, days.nRows))
        expect("newest day first", days.getAccessibleAt(0, 0).name, str(plan.day))
        self.screenshot("card_history", history, settled=True)
        press("Escape")
        window_gone("card_history", "the card history closing on Esc", kept=True)

    # 匯出清單… from a list's menu, opened by the keyboard: Qt's save dialog speaks Chinese.
    def save_dialog_in_chinese(self):
        self.main.click_row("List1(0)", 0)
        press("Menu")
        press("Down", "Down", "Return")
        dialog = top_window("save_dialog", SAVE_DIALOG_CONTROLS, "the save dialog on 匯出清單…")
        expect("save dialog caption", dialog.caption(), EXPORT_TITLE)
        words = [dialog.text(name) for name in SAVE_DIALOG_CONTROLS[:3]]
        words += [button.name for button in dialog["buttonBox"] if button is not None]
        expect("English words in the save dialog",
               [w for w in words if re.search("[A-Za-z]{3}", w)], [])
        self.screenshot("save_dialog", dialog)
        press("Escape")
        window_gone("save_dialog", "the save dialog closing on Esc")

    # The live view on Ctrl+L while sample_site --live, standing in for a card reader, appends
    # swipes to today's file in pieces: they come in newest first, and Esc closes the view.
    def watch_live(self):
        self.main.click("Label1(3)")  # the main window active
        press("ctrl+l")
        live = top_window("live_view", LIVE_VIEW_CONTROLS, "the live view on Ctrl+L")
        self.check_accessible_names(live)
        writer = subprocess.run(
            [self.args.sample_site, "--live", "--every", "1", "--count", str(LIVE_SWIPES),
             self.args.site], env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
            capture_output=True, text=True, check=True)
        # Each line: the day file, then the record as written (time,"card","name","direction").
        written = [[value.strip('"') for value in line.split(" ", 1)[1].split(",")]
                   for line in writer.stdout.splitlines()]
        wanted = list(reversed(written))
        table = live["live_view_rows"].queryTable()
        rows = lambda: [[table.getAccessibleAt(row, column).name for column in range(4)]
                        for row in range(table.nRows)]
        wait_for("the %d appended swipes, newest first" % LIVE_SWIPES,
                 lambda: (rows() == wanted, rows()))
        expect("status of a share that answers", live.text("live_view_status")[:2], "即時")
        # The writer has saved the newest swipe's photo after its record: it is looked for again.
        wait_for("the newest swipe's photo", lambda: (live.text("live_view_photo") == "刷卡影像",
                                                      live.text("live_view_photo")))
        self.screenshot("live_view", live, settled=True)
        press("Escape")
        window_gone("live_view", "the live view closing on Esc", kept=True)

    def close(self):
        self.main.click("Label1(3)")  # the main window active, then its frame's close key
        press("alt+F4")
        wait_for("the program leaving the accessibility bus",
                 lambda: (application() is None, "still there"))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--site", required=True)
    parser.add_argument("--site-date", required=True, help="last day of the site, YYYY-MM-DD")
    parser.add_argument("--grab", required=True, help="the grab_screen tool")
    parser.add_argument("--sample-site", required=True, help="the sample_site tool")
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--docs", help="folder for the README's screenshots")
    args = parser.parse_args()

    session = Session(args)
    plan = session.plan
    print("e2e: %s, card %s: rows %d (still photo), %d (no photo), %d (sequence) of %d"
          % (plan.day, plan.card, plan.still, plan.none, plan.sequence, len(plan.swipes)))
    print("e2e: card %s: row %d opened in the inspection window, row %d clicked there, of %d"
          % (plan.busy_card, plan.inspected, plan.chosen, len(plan.busy_swipes)))
    steps = [
        ("dialog: type the file name, Enter", session.choose_parameter_file),
        ("main window at start", session.check_start_state),
        ("keyboard: focus order, date, query", session.query_by_keyboard),
        ("card filter and 查詢 by mouse", session.query_one_card),
        ("click a row, arrow keys", session.browse),
        ("playback to 播放結束", session.watch_playback),
        ("resize by the frame", session.resize_by_frame),
        ("參數檔載入, Esc", session.load_and_cancel),
        ("inspection window: open, click, Esc", session.inspect_photos),
        ("匯出清單…: the save dialog in Chinese", session.save_dialog_in_chinese),
        ("card history: Ctrl+H, every day, Esc", session.card_history),
        ("live view: a reader appends, Esc", session.watch_live),
        ("close the window", session.close),
    ]
    started = time.monotonic()
    for title, run in steps:
        step_started = time.monotonic()
        try:
            run()
        except Failure as failure:
            print("e2e: FAILED at %s: %s" % (title, failure), file=sys.stderr)
            subprocess.run([args.grab, os.path.join(args.artifacts, "failure.png")])
            return 1
        print("e2e: ok  %-38s %5.1f s" % (title, time.monotonic() - step_started))
    print("e2e: all steps in %.1f s" % (time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
