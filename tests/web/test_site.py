#!/usr/bin/env python3
"""The browser edition, driven as a user drives it: headless Chromium types
into the pages with real key events, and what the pages show is held against
tarvix-design, the command line built from the same C++.

    python3 tests/web/test_site.py --site build-web --cli build-dev/cli/tarvix-design

The site is served from a local port by this script. Chromium and chromedriver
are required: without them the run fails, it is never skipped.
"""

import argparse
import base64
import functools
import http.server
import json
import os
import pathlib
import shutil
import socketserver
import subprocess
import sys
import tempfile
import threading
import time
import unittest

try:
    from selenium import webdriver
    from selenium.common.exceptions import TimeoutException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import Select, WebDriverWait
except ImportError:
    # Debian's python3-selenium lives in the system interpreter; a python3
    # of its own on the PATH (pyenv, a virtualenv) does not see it.
    SYSTEM_PYTHON = "/usr/bin/python3"
    if os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) and os.path.exists(SYSTEM_PYTHON):
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
    raise

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
RUN_TIMEOUT_S = 120
LONG_RUN_TIMEOUT_S = 300

ARGS = None  # the command line: --site, --cli
SERVER = None  # the site's server, for the whole run
SHOTS = None  # where screenshots go

WORKED = ["--freq", "14.2", "--length", "20", "--coil-distance", "5", "--former-dia", "1.5"]
BAND_80M = ["--freq", "3.6", "--length", "80", "--coil-distance", "20", "--former-dia", "3",
            "--height", "30", "--ground", "average"]
BAND_160M = ["--freq", "1.85", "--length", "120", "--coil-distance", "30", "--former-dia", "4",
             "--height", "30", "--ground", "average"]


# ----------------------------------------------------------------------------
# The site's server and the browser

class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".webmanifest": "application/manifest+json"})

    def log_message(self, *args):
        pass


class SiteServer:
    """The site's folder on 127.0.0.1, a free port, in a thread of its own."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=str(folder))
        socketserver.ThreadingTCPServer.allow_reuse_address = True
        self.server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def start_browser(language=None):
    for path in (CHROMIUM, CHROMEDRIVER):
        if not os.access(path, os.X_OK):
            raise RuntimeError("%s is missing: install Debian's chromium and chromium-driver" % path)
    profile = tempfile.mkdtemp(prefix="tarvix-web-test-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--user-data-dir=" + profile, "--window-size=1280,900"]:
        options.add_argument(arg)
    if language:
        options.add_argument("--lang=" + language)
        options.add_experimental_option("prefs", {"intl.accept_languages": language})
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    try:
        from selenium.webdriver.chrome.service import Service
        driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    except TypeError:  # an older selenium
        driver = webdriver.Chrome(executable_path=CHROMEDRIVER, options=options)
    driver.set_window_size(1280, 900)
    driver.tarvix_profile = profile
    return driver


def quit_browser(driver):
    try:
        driver.quit()
    finally:
        shutil.rmtree(driver.tarvix_profile, ignore_errors=True)


def cli_json(args):
    """tarvix-design's JSON report of a simulated design."""
    done = subprocess.run([ARGS.cli] + args + ["--simulate", "--json"], capture_output=True,
                          text=True, timeout=300)
    if done.returncode != 0:
        raise AssertionError("tarvix-design %s failed (%d): %s" % (" ".join(args), done.returncode, done.stderr))
    return json.loads(done.stdout)


def cli_design(args):
    """tarvix-design's JSON of the calculator's two steps (no simulation)."""
    done = subprocess.run([ARGS.cli] + args + ["--json"], capture_output=True, text=True, timeout=60)
    if done.returncode != 0:
        raise AssertionError("tarvix-design %s failed (%d): %s" % (" ".join(args), done.returncode, done.stderr))
    return json.loads(done.stdout)


class PageCase(unittest.TestCase):
    """One browser for the class; each test opens the page afresh."""

    driver = None

    @classmethod
    def setUpClass(cls):
        cls.driver = start_browser()

    @classmethod
    def tearDownClass(cls):
        if cls.driver is not None:
            quit_browser(cls.driver)

    def tearDown(self):
        # An error the page's scripts did not catch is a fault, whatever the
        # test looked at; the rest of the console is shown on request.
        uncaught = []
        for entry in self.driver.get_log("browser"):
            if entry.get("source") == "javascript" and entry.get("level") == "SEVERE":
                uncaught.append(entry.get("message"))
            if os.environ.get("TARVIX_WEB_CONSOLE"):
                print("  console:", entry.get("level"), entry.get("message"), file=sys.stderr)
        self.assertEqual(uncaught, [], "uncaught errors in the page")

    # -- the page --------------------------------------------------------

    def open(self, page, url=None):
        self.driver.get((url or SERVER.url) + "index.html#" + page)
        # A fresh page each time: the inputs kept from an earlier test are
        # forgotten, so that every test starts from the window's defaults.
        self.driver.execute_script("localStorage.clear();")
        self.driver.refresh()
        self.wait_ready()

    def wait_ready(self, timeout=60):
        try:
            WebDriverWait(self.driver, timeout).until(
                lambda d: d.execute_script("return document.documentElement.dataset.ready === 'true'"))
        except TimeoutException:
            loading = self.driver.find_element(By.ID, "loading").text
            self.fail("the page did not start: %r" % loading)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def by_id(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def retype(self, element_id, text):
        """Empties a box with the keys a user presses, then types text."""
        box = self.by_id(element_id)
        box.click()
        box.send_keys(Keys.END)
        while box.get_attribute("value"):
            box.send_keys(Keys.BACKSPACE * max(1, len(box.get_attribute("value"))))
        if text:
            box.send_keys(text)
        self.assertEqual(box.get_attribute("value"), text, element_id)

    def choose(self, element_id, first_word):
        """Picks the item of a list whose text starts with the word."""
        select = Select(self.by_id(element_id))
        for option in select.options:
            if option.text.lower().startswith(first_word.lower()):
                select.select_by_visible_text(option.text)
                return
        self.fail("%s offers no %r: %s" % (element_id, first_word, [o.text for o in select.options]))

    def status(self):
        return self.by_id("status").text

    # -- the check -------------------------------------------------------

    def type_design(self, freq, length, distance, former):
        self.retype("c-Freq", freq)
        self.retype("c-TotalLength", length)
        self.retype("c-CentreToCoil", distance)
        self.retype("c-FormerDia", former)

    def over_ground(self, height, ground_label):
        self.by_id("c-hangs-ground").click()
        self.retype("c-Height", height)
        self.choose("c-ground", ground_label)

    def simulate_and_wait(self, timeout=RUN_TIMEOUT_S):
        """Presses Simulate and waits for the build sheet; the run's result
        and its time in the browser."""
        self.js("window.tarvixLastRun = null;")
        self.by_id("simulate").click()
        try:
            WebDriverWait(self.driver, timeout, poll_frequency=0.25).until(
                lambda d: d.execute_script(
                    "return !!window.tarvixLastRun || /^(No simulation|Cannot simulate)/.test("
                    "document.getElementById('status').textContent)"))
        except TimeoutException:
            self.fail("no result within %d s; status: %r" % (timeout, self.status()))
        run = self.js("return window.tarvixLastRun")
        self.assertIsNotNone(run, "no result: " + self.status())
        self.assertTrue(self.status().startswith("Done in"), self.status())
        result = self.js("const r = TarvixApp.lastResult(); return {json_text: r.json_text, report: r.report,"
                         " deck: r.deck};")
        return result, run["seconds"]

    def page_json(self, result):
        self.assertTrue(result["json_text"], "the result has no JSON text")
        return json.loads(result["json_text"])

    # The browser's C library rounds sines and logarithms otherwise than the
    # desktop's in the last bits, so a number may differ in its last digits:
    # within a part in a billion, or a millionth of its unit near zero (the
    # reactance a search leaves at resonance). Keys, their order, texts,
    # whole numbers and the lengths of lists must be the same.
    RELATIVE = 1e-9
    ABSOLUTE = 1e-6

    def assertSameReport(self, page, cli, what):
        """The page's JSON report is tarvix-design's; else the places where
        they differ, with how far."""
        places = []

        def walk(a, b, path):
            if isinstance(a, dict) and isinstance(b, dict):
                if list(a) != list(b):
                    places.append("%s: keys %s in the page's, %s in tarvix-design's"
                                  % (path or "top", list(a), list(b)))
                for key in a:
                    if key in b:
                        walk(a[key], b[key], "%s.%s" % (path, key))
            elif isinstance(a, list) and isinstance(b, list):
                if len(a) != len(b):
                    places.append("%s: %d items in the page's, %d in tarvix-design's" % (path, len(a), len(b)))
                for index, (x, y) in enumerate(zip(a, b)):
                    walk(x, y, "%s[%d]" % (path, index))
            elif isinstance(a, float) or isinstance(b, float):
                numbers = all(isinstance(v, (int, float)) and not isinstance(v, bool) for v in (a, b))
                if not numbers or abs(a - b) > self.RELATIVE * max(abs(a), abs(b)) + self.ABSOLUTE:
                    places.append("%s: page %r, tarvix-design %r" % (path, a, b))
            elif a != b or type(a) is not type(b):
                places.append("%s: page %r, tarvix-design %r" % (path, a, b))

        walk(page, cli, "")
        if places:
            self.fail("%s: the page's JSON differs from tarvix-design's in %d places:\n  %s"
                      % (what, len(places), "\n  ".join(places[:15])))

    def downloaded(self, link_id):
        """The text behind a download link, as the browser would save it."""
        href = self.by_id(link_id).get_attribute("href")
        self.assertTrue(href.startswith("blob:"), "%s offers nothing to save: %s" % (link_id, href))
        return self.driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "fetch(arguments[0]).then(r => r.text()).then(done, e => done('FAILED ' + e));", href)

    def count_engine_runs(self):
        """Counts the runs the page asks of the engine from now on."""
        self.js("""
            window.tarvixEngineRuns = 0;
            const simulate = TarvixEngine.simulate;
            TarvixEngine.simulate = function () {
              window.tarvixEngineRuns += 1;
              return simulate.apply(this, arguments);
            };""")

    def shot(self, name):
        path = SHOTS / (name + ".png")
        self.driver.save_screenshot(str(path))
        return path


# ----------------------------------------------------------------------------
# The check: Simulate against tarvix-design --simulate --json

class CheckSimulationTests(PageCase):

    def test_worked_example_typed_gives_the_cli_report(self):
        self.open("check")
        self.type_design("14.2", "20", "5", "1.5")
        result, seconds = self.simulate_and_wait()
        print("\n  worked example: %.2f s in the browser" % seconds, file=sys.stderr)
        expected = cli_json(WORKED)
        self.assertSameReport(self.page_json(result), expected, "the worked example")

        # The build sheet comes first and says what to wind.
        turns = expected["build_sheet"]["coil"]["turns"]
        sheet = self.by_id("sheet-body").text
        self.assertIn("%d turns" % turns, sheet)
        self.assertIn("Cut the antenna wire", sheet)
        cards = self.js("return Array.from(document.querySelectorAll('#results > article:not([hidden])'))"
                        ".map(e => e.id)")
        self.assertEqual(cards[0], "sheet", cards)
        # Every numbers' table row of the sheet holds the JSON's turns.
        self.assertIn(str(turns), self.js(
            "return Array.from(document.querySelectorAll('#sheet-body td')).map(t => t.textContent).join(' ')"))

        # The downloads: the JSON is the report's own text, the report and
        # the deck are there, and the build sheet page holds the winding.
        self.assertSameReport(json.loads(self.downloaded("dl-json")), expected, "the JSON download")
        self.assertEqual(self.downloaded("dl-report"), result["report"])
        self.assertTrue(self.downloaded("dl-report").startswith("Build sheet"))
        deck = self.downloaded("dl-deck")
        self.assertEqual(deck, result["deck"])
        self.assertRegex(deck, r"(?m)^GW\b")
        self.assertRegex(deck, r"(?m)^EN\b")
        page = self.downloaded("dl-sheet")
        self.assertIn("<html", page)
        self.assertIn("%d turns" % turns, page)

        # Print: the button prints, and on paper the build sheet is all
        # there is.
        self.js("window.tarvixPrinted = 0; window.print = () => { window.tarvixPrinted += 1; };")
        self.by_id("print-sheet").click()
        self.assertEqual(self.js("return window.tarvixPrinted"), 1)
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        try:
            self.assertTrue(self.by_id("sheet").is_displayed())
            self.assertIn("%d turns" % turns, self.by_id("sheet-body").text)
            for hidden in ("check-form", "report-card", "plot-card", "calculator"):
                self.assertFalse(self.by_id(hidden).is_displayed(), "%s is printed" % hidden)
        finally:
            self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": ""})

        # The plot: the corrected antenna's sweep and F marked.
        points = self.js("const p = document.querySelector('#plot svg path.corrected');"
                         " return p ? (p.getAttribute('d').match(/[ML]/g) || []).length : 0;")
        self.assertGreaterEqual(points, 5, "the plot draws no sweep")
        self.assertTrue(self.js("return !!document.querySelector('#plot svg .mark-f')"), "F is not marked")
        self.js("document.getElementById('sheet').scrollIntoView()")
        self.shot("desktop-check-build-sheet")
        self.js("document.getElementById('plot-card').scrollIntoView()")
        self.shot("desktop-check-plot")

    def test_80_m_over_ground_and_trim_give_the_cli_report(self):
        self.open("check")
        self.type_design("3.6", "80", "20", "3")
        self.over_ground("30", "Average")
        result, seconds = self.simulate_and_wait(LONG_RUN_TIMEOUT_S)
        print("\n  80 m over average ground at 30 ft: %.2f s in the browser" % seconds, file=sys.stderr)
        self.assertSameReport(self.page_json(result), cli_json(BAND_80M), "80 m over ground")

        # The worked example built and measured at 14.0 MHz: the trim.
        self.open("check")
        self.type_design("14.2", "20", "5", "1.5")
        self.retype("c-Measured", "14.0")
        result, seconds = self.simulate_and_wait()
        print("  worked example measured at 14.0 MHz (trim): %.2f s in the browser" % seconds, file=sys.stderr)
        expected = cli_json(WORKED + ["--measured", "14.0"])
        self.assertIn("trim", expected)
        self.assertSameReport(self.page_json(result), expected, "the trim")
        self.assertTrue(self.by_id("trim-card").is_displayed(), "the trim is not shown")
        self.assertIn("Trim for the resonance measured", self.by_id("trim-body").text)

    def test_160_m_over_ground_time(self):
        self.open("check")
        self.type_design("1.85", "120", "30", "4")
        self.over_ground("30", "Average")
        result, seconds = self.simulate_and_wait(LONG_RUN_TIMEOUT_S)
        print("\n  160 m over average ground at 30 ft: %.2f s in the browser" % seconds, file=sys.stderr)
        self.assertSameReport(self.page_json(result), cli_json(BAND_160M), "160 m over ground")


class CheckInputTests(PageCase):

    def test_letter_or_zero_in_f_stops_before_the_engine(self):
        self.open("check")
        self.type_design("14.2", "20", "5", "1.5")
        self.count_engine_runs()
        for typed in ("14.x", "0"):
            with self.subTest(typed=typed):
                self.retype("c-Freq", typed)
                note = self.by_id("c-Freq-note")
                self.assertTrue(note.text, "no note beside F for %r" % typed)
                self.assertIn("stop", note.get_attribute("class").split())
                self.assertEqual(self.by_id("c-Freq").get_attribute("aria-invalid"), "true")
                self.by_id("simulate").click()
                time.sleep(0.5)
                self.assertTrue(self.status().startswith("Cannot simulate: Frequency F: "), self.status())
                said = self.status()[len("Cannot simulate: Frequency F: "):]
                self.assertTrue(said and said in note.text, "%r is not the note %r" % (said, note.text))
                self.assertEqual(self.js("return window.tarvixEngineRuns"), 0)
                self.assertFalse(self.by_id("simulate").get_attribute("disabled"))
                self.assertTrue(self.by_id("results").get_attribute("hidden") is not None)
        # A number again: the note goes, and the run is made.
        self.retype("c-Freq", "14.2")
        self.assertNotIn("stop", self.by_id("c-Freq-note").get_attribute("class").split())
        self.assertEqual(self.status(), "")
        self.simulate_and_wait()
        self.assertEqual(self.js("return window.tarvixEngineRuns"), 1)

    def test_a_warning_note_never_stops_the_run(self):
        self.open("check")
        self.type_design("14.2", "20", "5", "1.5")
        # B beyond the calculator's range: warned, still simulated.
        self.retype("c-CentreToCoil", "9")
        note = self.by_id("c-CentreToCoil-note")
        self.assertTrue(note.text, "no warning beside B")
        self.assertIn("warn", note.get_attribute("class").split())
        result, _ = self.simulate_and_wait()
        self.assertSameReport(self.page_json(result),
                              cli_json(["--freq", "14.2", "--length", "20", "--coil-distance", "9", "--former-dia", "1.5"]),
                              "B beyond the calculator's range")

    def test_cancel_stops_the_run_and_simulate_works_again(self):
        self.open("check")
        self.type_design("3.6", "80", "20", "3")
        self.over_ground("30", "Average")
        self.count_engine_runs()
        self.js("window.tarvixLastRun = null;")
        self.by_id("simulate").click()
        self.assertTrue(self.by_id("cancel").is_enabled(), "Cancel is off during a run")
        self.by_id("cancel").click()
        self.assertEqual(self.status(), "Cancelled: the engine was stopped.")
        # Nothing of the stopped run arrives later.
        time.sleep(3)
        self.assertEqual(self.status(), "Cancelled: the engine was stopped.")
        self.assertIsNone(self.js("return window.tarvixLastRun"))
        self.assertIsNone(self.js("return TarvixApp.lastResult()"))
        self.assertFalse(self.by_id("cancel").is_enabled())
        # Simulate again, the worked example this time.
        self.type_design("14.2", "20", "5", "1.5")
        self.by_id("c-hangs-free").click()
        result, _ = self.simulate_and_wait()
        self.assertSameReport(self.page_json(result), cli_json(WORKED), "after a cancel")
        self.assertEqual(self.js("return window.tarvixEngineRuns"), 2)

    def test_a_deck_past_its_time_limit_stops_the_run_as_on_the_desktop(self):
        self.open("check")
        self.type_design("14.2", "20", "5", "1.5")
        # Every deck's limit cut to a millisecond, as the desktop's engine
        # takes one for its tests.
        self.js("TarvixEngine.timeLimitMs = 1;")
        self.by_id("simulate").click()
        WebDriverWait(self.driver, RUN_TIMEOUT_S).until(
            lambda d: self.status().startswith("No simulation: "))
        self.assertRegex(self.status(), r"^No simulation: nec2c was stopped after 0\.001 s, the time "
                                        r"limit for \d+ segments at \d+ frequenc")
        self.assertFalse(self.by_id("cancel").is_enabled())
        self.js("TarvixEngine.timeLimitMs = null;")
        result, _ = self.simulate_and_wait()
        self.assertSameReport(self.page_json(result), cli_json(WORKED), "after a run past its limit")

    def test_units_and_wire_kinds_convert_what_was_typed(self):
        self.open("check")
        self.type_design("14.2", "20", "5", "1.5")
        value = lambda box: self.by_id(box).get_attribute("value")
        self.choose("c-units", "Metres")
        self.assertEqual((value("c-TotalLength"), value("c-CentreToCoil"), value("c-FormerDia")),
                         ("6.096", "1.524", "38.1"))
        self.choose("c-units", "Feet")
        self.assertEqual((value("c-TotalLength"), value("c-FormerDia")), ("20", "1.5"))
        # SWG 20 (0.036 in) as a diameter and back; a diameter no gauge has
        # stays a diameter, and the status says so.
        self.choose("c-coilWireBy", "Diameter")
        self.assertEqual(value("c-CoilWire"), "0.036")
        self.choose("c-coilWireBy", "SWG")
        self.assertEqual(value("c-CoilWire"), "20")
        self.choose("c-coilWireBy", "Diameter")
        self.retype("c-CoilWire", "0.05")
        self.choose("c-coilWireBy", "SWG")
        self.assertEqual(Select(self.by_id("c-coilWireBy")).first_selected_option.text, "Diameter")
        self.assertEqual(value("c-CoilWire"), "0.05")
        self.assertEqual(self.status(), "Coil wire: no SWG gauge is 0.05 across; kept as a diameter.")

    def test_inputs_are_labelled_and_results_announced(self):
        self.open("check")
        unlabelled = self.js("""
            return Array.from(document.querySelectorAll('#check input, #check select, #calculator input,'
                                                        + ' #calculator select'))
              .filter(e => e.type !== 'file' && !(e.labels && e.labels.length) && !e.getAttribute('aria-label'))
              .map(e => e.id);""")
        self.assertEqual(unlabelled, [])
        without_label_element = self.js("""
            return Array.from(document.querySelectorAll('#check-groups input, #check-groups select,'
                                                        + ' #calculator input:not([readonly]), #calculator select'))
              .filter(e => !(e.labels && e.labels.length)).map(e => e.id);""")
        self.assertEqual(without_label_element, [])
        self.assertEqual(self.by_id("status").get_attribute("aria-live"), "polite")
        # The tab order runs down the groups: F first, then A, then B.
        self.by_id("c-Freq").click()
        order = []
        for _ in range(3):
            order.append(self.js("return document.activeElement.id"))
            self.driver.switch_to.active_element.send_keys(Keys.TAB)
        self.assertEqual(order, ["c-Freq", "c-TotalLength", "c-CentreToCoil"])


# ----------------------------------------------------------------------------
# The calculator: the window's two steps against tarvix-design

class CalculatorTests(PageCase):

    def step(self, boxes, button):
        for box, text in boxes:
            self.by_id("calc-" + box).send_keys(text)
        ok = self.by_id("calc-" + button)
        WebDriverWait(self.driver, 10).until(lambda d: ok.is_enabled())
        ok.click()

    def two_steps(self, freq, length, distance, former, coil_length):
        self.open("calculator")
        self.step([("txtF", freq), ("txtA", length), ("txtB", distance)], "Command1")
        self.assertFalse(self.by_id("calc-Frame3").is_displayed())
        self.assertTrue(self.by_id("calc-Frame4").is_displayed())
        # The focus moves on to the first box of step 2, as in the window.
        self.assertEqual(self.js("return document.activeElement.id"), "calc-txtD1")
        self.step([("txtD1", former), ("txtB1", coil_length)], "Command2")
        self.assertTrue(self.by_id("calc-Frame5").is_displayed())
        self.assertTrue(self.by_id("calc-Frame6").is_displayed())
        self.shot("desktop-calculator-%s-%s-%s" % (freq, length, distance))
        return {name: self.by_id("calc-" + name).get_attribute("value").strip()
                for name in ("L", "txtN", "txtB2", "txtFF", "txtAA", "txtBB")}

    def test_worked_example_two_steps(self):
        shown = self.two_steps("14.2", "20", "5", "1.5", "1")
        expected = cli_design(["--freq", "14.2", "--length", "20", "--coil-distance", "5",
                               "--former-dia", "1.5", "--coil-length", "1"])
        self.assertEqual(shown["L"], expected["inductance_display"])
        self.assertEqual(shown["txtN"], str(expected["turns"]))
        self.assertEqual(shown["txtB2"], expected["message"])
        self.assertEqual((shown["txtFF"], shown["txtAA"], shown["txtBB"]), ("14.2", "20", "5"))

    def test_7_mhz_design_two_steps(self):
        shown = self.two_steps("7", "60", "20", "2", "2")
        expected = cli_design(["--freq", "7", "--length", "60", "--coil-distance", "20",
                               "--former-dia", "2", "--coil-length", "2"])
        self.assertEqual((shown["L"], shown["txtN"], shown["txtB2"]),
                         (expected["inductance_display"], str(expected["turns"]), expected["message"]))
        self.assertEqual((shown["L"], shown["txtN"], shown["txtB2"]), ("5.5", "7", "Revised length = 0.2 inch"))

    def test_letter_in_f_says_type_only_numbers(self):
        self.open("calculator")
        box = self.by_id("calc-txtF")
        before = box.get_attribute("value")
        box.send_keys("7")
        box.send_keys("q")
        dialog = self.by_id("message")
        WebDriverWait(self.driver, 5).until(lambda d: dialog.get_attribute("open") is not None)
        self.assertIn("Type only numbers", self.by_id("message-text").text)
        self.assertEqual(box.get_attribute("value"), before + "7", "the letter went into the box")
        self.by_id("message-ok").click()
        WebDriverWait(self.driver, 5).until(lambda d: dialog.get_attribute("open") is None)
        # The keys go on into F.
        self.assertEqual(self.js("return document.activeElement.id"), "calc-txtF")
        box.send_keys(".5")
        self.assertEqual(box.get_attribute("value"), before + "7.5")


# ----------------------------------------------------------------------------
# A browser in German: numbers typed with the decimal comma

class DecimalCommaTests(PageCase):

    @classmethod
    def setUpClass(cls):
        cls.driver = start_browser(language="de-DE")

    def test_worked_example_typed_with_commas(self):
        self.open("check")
        self.type_design("14,2", "20", "5", "1,5")
        self.assertEqual(self.by_id("c-Freq-note").text, "")
        result, _ = self.simulate_and_wait()
        self.assertSameReport(self.page_json(result), cli_json(WORKED), "the worked example in commas")


# ----------------------------------------------------------------------------
# A phone: 360 by 740, nothing scrolls sideways

class PhoneLayoutTests(PageCase):

    def setUp(self):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                    {"width": 360, "height": 740, "deviceScaleFactor": 1, "mobile": True})

    def tearDown(self):
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        super().tearDown()

    def assert_no_sideways_scroll(self, where):
        widths = self.js("return [document.documentElement.scrollWidth, window.innerWidth]")
        self.assertLessEqual(widths[0], widths[1], "%s scrolls sideways: %s" % (where, widths))
        wider = self.js("""
            return Array.from(document.querySelectorAll('body *'))
              .filter(e => e.offsetParent !== null && !e.closest('#form-window'))
              .filter(e => { const r = e.getBoundingClientRect(); return r.width > 0 && r.right > innerWidth + 0.5; })
              .slice(0, 5).map(e => e.tagName + '#' + e.id + '.' + e.className);""")
        self.assertEqual(wider, [], "%s: reaching past the screen's right edge" % where)

    def test_calculator_fits_360(self):
        self.open("calculator")
        self.assertEqual(self.js("return innerWidth"), 360)
        self.assert_no_sideways_scroll("the calculator")
        frame = self.js("const r = document.getElementById('form-window').getBoundingClientRect();"
                        " return [r.left, r.right];")
        self.assertGreaterEqual(frame[0], 0)
        self.assertLessEqual(frame[1], 360)
        self.shot("phone-calculator")
        # Step 1 on the phone too.
        for box, text in (("txtF", "14.2"), ("txtA", "20"), ("txtB", "5")):
            self.by_id("calc-" + box).send_keys(text)
        self.by_id("calc-Command1").click()
        self.assertTrue(self.by_id("calc-Frame4").is_displayed())
        self.assert_no_sideways_scroll("the calculator's step 2")
        self.shot("phone-calculator-step2")

    def test_check_with_results_fits_360(self):
        self.open("check")
        self.assert_no_sideways_scroll("the check's inputs")
        self.shot("phone-check-inputs")
        self.type_design("14.2", "20", "5", "1.5")
        self.retype("c-Measured", "14.0")
        self.simulate_and_wait()
        self.assert_no_sideways_scroll("the check with its results")
        height = self.js("return document.documentElement.scrollHeight")
        for place, y in enumerate(range(0, height, 700)):
            self.js("window.scrollTo(0, arguments[0])", y)
            time.sleep(0.2)
            self.assertEqual(self.js("return window.scrollX"), 0)
            self.shot("phone-check-results-%02d" % place)
        self.js("document.getElementById('sheet').scrollIntoView()")
        self.shot("phone-check-build-sheet")


# ----------------------------------------------------------------------------
# Offline: once loaded, the site works with the server gone

class OfflineTests(PageCase):

    def test_works_offline_once_loaded(self):
        own = SiteServer(ARGS.site)
        try:
            self.open("calculator", own.url)
            # Once the worker is active, a page loaded again is under it.
            self.driver.set_script_timeout(60)
            active = self.driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                if (!navigator.serviceWorker) { done('no service workers'); return; }
                navigator.serviceWorker.ready.then(r => done(r.active ? r.active.state : 'none'),
                                                   e => done('FAILED ' + e));""")
            self.assertIn(active, ("activating", "activated"), "the service worker did not start")
            self.driver.refresh()
            self.wait_ready()
            self.assertTrue(self.js("return !!navigator.serviceWorker.controller"), "no service worker took the page")
            kept = self.driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                navigator.serviceWorker.ready
                  .then(() => caches.keys())
                  .then(keys => Promise.all(keys.map(k => caches.open(k).then(c => c.keys()))))
                  .then(lists => done([].concat(...lists).map(r => new URL(r.url).pathname)), e => done(['FAILED ' + e]));""")
        finally:
            own.stop()
        site_files = sorted(p.name for p in pathlib.Path(ARGS.site).iterdir() if p.is_file())
        kept_names = {k.rsplit("/", 1)[-1] for k in kept}
        missing = [f for f in site_files if f not in kept_names]
        self.assertEqual(missing, [], "files the service worker does not keep")
        # The server is gone: the page still starts, and the check still runs.
        self.driver.get(own.url + "index.html#check")
        self.wait_ready()
        self.type_design("14.2", "20", "5", "1.5")
        result, _ = self.simulate_and_wait()
        self.assertSameReport(self.page_json(result), cli_json(WORKED), "offline")


# ----------------------------------------------------------------------------

def main():
    global ARGS, SERVER, SHOTS
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--site", required=True, help="the built site (build-web)")
    parser.add_argument("--cli", required=True, help="tarvix-design, for the expected reports")
    parser.add_argument("--shots", help="where screenshots go (default: build-web-test beside the site)")
    ARGS, rest = parser.parse_known_args()
    site = pathlib.Path(ARGS.site).resolve()
    for needed in ("index.html", "tarvix-web.js", "tarvix-web.wasm", "engine_client.js"):
        if not (site / needed).is_file():
            sys.exit("test_site: %s has no %s: build the site first (make web)" % (site, needed))
    if not os.access(ARGS.cli, os.X_OK):
        sys.exit("test_site: %s is not a program: build tarvix-design first" % ARGS.cli)
    ARGS.site = site
    ARGS.cli = str(pathlib.Path(ARGS.cli).resolve())
    SHOTS = pathlib.Path(ARGS.shots).resolve() if ARGS.shots else site.parent / (site.name + "-test")
    SHOTS.mkdir(parents=True, exist_ok=True)
    SERVER = SiteServer(site)
    try:
        program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
    finally:
        SERVER.stop()
    print("screenshots in %s" % SHOTS, file=sys.stderr)
    sys.exit(0 if program.result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
