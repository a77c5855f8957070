#!/usr/bin/python3
"""The web page in WebKitGTK's MiniBrowser, driven over WebKitWebDriver with
plain W3C WebDriver requests: the メニュー screen appears; by finger, a first
tap on the dove opens nothing and a second opens 正解率; one click on アジア
opens its submenu. Screens are found from the screenshot pixels (the largest
block of the screen's background colour) and compared with the rectangles the
page logs for them.

Runs on a private Xvfb inside its own session bus; without one, GTK
autolaunches a bus and accessibility services that outlive the run.

usage: dbus-run-session -- /usr/bin/python3 webkit-journey.py SITE_DIR --shots DIR
"""

import argparse
import base64
import functools
import http.server
import json
import os
import signal
import socket
import struct
import subprocess
import sys
import threading
import time
import urllib.error
import urllib.request
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'accessibility'))
from desktop_session import DesktopSession, JourneyFailed  # noqa: E402

MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
VIEWPORT = (1024, 768)
CYAN = (0, 255, 255)        # Palette::Cyan, メニュー
LIGHT_PINK = (255, 192, 192)  # Palette::LightPink, the region submenus
MENU_SIZE = (766, 478)
SUBMENU_SIZE = (254, 456)
ASIA_BUTTON_CENTRE = (21 + 90, 357 + 24)  # in the menu's client area
RESULTS_BUTTON_CENTRE = (604, 132)  # 正解率表示, over the dove's lower part
LIGHT_GREEN = (192, 255, 192)  # Palette::LightGreen, 正解率
RESULTS_SIZE = (768, 480)
RESULTS_MENU_CENTRE = (669, 32)

# What the page shows while it loads the program.
LOADING_TEXT = '''
return document.getElementById('loading').hidden ? null
       : document.getElementById('loading-state').textContent;
'''
# A touch event as a touch screen sends it to the page's canvas. WebKitGTK
# builds no touch lists from script, so the event carries its touches as its
# own properties, where the page's handlers read them.
TOUCH = '''
const [kind, x, y] = arguments;
const canvas = document.getElementById('screen');
const touch = {identifier: 1, target: canvas, clientX: x, clientY: y, pageX: x, pageY: y, screenX: x, screenY: y,
               radiusX: 4, radiusY: 4, force: 1};
const event = new TouchEvent(kind, {bubbles: true, cancelable: true});
const touches = kind === 'touchend' ? [] : [touch];
for (const [name, value] of [['touches', touches], ['targetTouches', touches], ['changedTouches', [touch]]])
  Object.defineProperty(event, name, {value});
canvas.dispatchEvent(event);
'''

PAGE_STATE = '''
const stopped = document.getElementById('stopped');
return {loading: document.getElementById('loading').hidden ? null
                 : document.getElementById('loading-state').textContent,
        stopped: stopped.hidden ? null : document.getElementById('stopped-message').textContent,
        screens: globalThis.kunishirabePage ? globalThis.kunishirabePage.screensShown : []};
'''


# --- PNG screenshots -------------------------------------------------------

def decode_png(data):
    """(width, height, bytes per pixel, rows) of an 8-bit RGB or RGBA PNG."""
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise JourneyFailed('screenshot is not a PNG')
    pos, idat = 8, []
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat.append(body)
    if depth != 8 or colour not in (2, 6) or interlace:
        raise JourneyFailed(f'unexpected PNG format: depth {depth}, colour type {colour}')
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b''.join(idat))
    stride = width * bpp
    low7 = int.from_bytes(b'\x7f' * stride, 'big')
    high = int.from_bytes(b'\x80' * stride, 'big')
    rows, prior = [], bytes(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        if kind == 0:
            row = line
        elif kind == 2:  # Up: bytewise sum without carries across bytes
            a, b = int.from_bytes(line, 'big'), int.from_bytes(prior, 'big')
            row = (((a & low7) + (b & low7)) ^ ((a ^ b) & high)).to_bytes(stride, 'big')
        else:
            row = bytearray(line)
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                if kind == 1:
                    row[i] = (row[i] + left) & 255
                elif kind == 3:
                    row[i] = (row[i] + ((left + prior[i]) >> 1)) & 255
                elif kind == 4:
                    up, corner = prior[i], prior[i - bpp] if i >= bpp else 0
                    p = left + up - corner
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                    row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
                else:
                    raise JourneyFailed(f'bad PNG filter {kind}')
            row = bytes(row)
        rows.append(row)
        prior = row
    return width, height, bpp, rows


def largest_block(image, colour):
    """Bounding box (x, y, w, h) and pixel count of the largest 4-connected
    region of exactly that colour; None when there is none."""
    width, _, bpp, rows = image
    tables = [bytes(int(v == c) for v in range(256)) for c in colour]
    parent = []

    def root(i):
        while parent[i] != i:
            parent[i] = parent[parent[i]]
            i = parent[i]
        return i

    runs, previous = [], []
    for y, row in enumerate(rows):
        mask = functools.reduce(lambda a, b: a & b, (
            int.from_bytes(row[c::bpp].translate(tables[c]), 'big') for c in range(3)))
        mask = mask.to_bytes(width, 'big')
        current, x = [], mask.find(1)
        while x >= 0:
            end = mask.find(0, x)
            end = width if end < 0 else end
            current.append((x, end, len(parent)))
            runs.append((x, end, y))
            parent.append(len(parent))
            x = mask.find(1, end)
        j = 0
        for start, end, i in current:
            while j < len(previous) and previous[j][1] <= start:
                j += 1
            k = j
            while k < len(previous) and previous[k][0] < end:
                parent[root(previous[k][2])] = root(i)
                k += 1
        previous = current
    blocks = {}
    for i, (start, end, y) in enumerate(runs):
        x0, y0, x1, y1, count = blocks.get(root(i), (start, y, end, y + 1, 0))
        blocks[root(i)] = (min(x0, start), min(y0, y), max(x1, end), max(y1, y + 1), count + end - start)
    if not blocks:
        return None
    x0, y0, x1, y1, count = max(blocks.values(), key=lambda block: block[4])
    return (x0, y0, x1 - x0, y1 - y0), count


# --- WebDriver ---------------------------------------------------------------

class WebDriver:
    def __init__(self, port):
        self.base = f'http://127.0.0.1:{port}'
        self.session = None

    def call(self, method, path, body=None, timeout=60):
        if self.session and not path.startswith('/status'):
            path = f'/session/{self.session}{path}'
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={'Content-Type': 'application/json'})
        try:
            with urllib.request.urlopen(request, timeout=timeout) as response:
                return json.load(response)['value']
        except urllib.error.HTTPError as error:
            try:
                value = json.load(error)['value']
                reason = f'{value.get("error")}: {value.get("message")}'
            except (ValueError, KeyError, AttributeError):
                reason = str(error)
            raise JourneyFailed(f'WebDriver {method} {path}: {reason}') from None
        except (urllib.error.URLError, OSError) as error:
            raise JourneyFailed(f'WebDriver {method} {path}: {error}') from None

    def script(self, source):
        return self.call('POST', '/execute/sync', {'script': source, 'args': []})

    def screenshot(self):
        return base64.b64decode(self.call('GET', '/screenshot'))


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def start_webdriver(session):
    """WebKitWebDriver on a free port, in its own process group so that the
    browser it starts can be stopped with it."""
    port = free_port()
    log = open(f'{session.work}/webdriver.log', 'w')
    driver = subprocess.Popen(['WebKitWebDriver', f'--port={port}'], start_new_session=True,
                              env=dict(os.environ, **session.home('browser'), LANG='C.UTF-8'),
                              stdout=log, stderr=subprocess.STDOUT)
    session.children.append(driver)
    webdriver = WebDriver(port)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if driver.poll() is not None:
            raise JourneyFailed('WebKitWebDriver stopped: ' + open(log.name).read().strip())
        try:
            if webdriver.call('GET', '/status', timeout=2).get('ready'):
                return driver, webdriver
        except JourneyFailed:
            pass
        time.sleep(0.1)
    raise JourneyFailed('WebKitWebDriver did not become ready within 10 s')


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(site):
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(QuietHandler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


# --- The journey ---------------------------------------------------------------

class Journey:
    def __init__(self, webdriver, shots):
        self.webdriver = webdriver
        self.shots = shots
        self.last_shot = None

    def open(self, url):
        self.webdriver.call('POST', '/window/rect', {'width': VIEWPORT[0], 'height': VIEWPORT[1]})
        viewport = self.webdriver.script('return [innerWidth, innerHeight]')
        if tuple(viewport) != VIEWPORT:  # MiniBrowser's toolbar sits inside the window
            width, height = (2 * v - got for v, got in zip(VIEWPORT, viewport))
            self.webdriver.call('POST', '/window/rect', {'width': width, 'height': height})
        rect = self.webdriver.call('GET', '/window/rect')
        self.webdriver.call('POST', '/url', {'url': url})
        self.loading_text = self.webdriver.script(LOADING_TEXT)  # None once the program has started
        self.viewport = tuple(self.webdriver.script('return [innerWidth, innerHeight]'))
        print(f'window {rect["width"]}×{rect["height"]}, viewport {self.viewport[0]}×{self.viewport[1]}')

    def wait_for_screen(self, caption, colour, size, timeout):
        """Polls screenshots until the largest block of colour has the screen's
        client size; returns its rectangle in CSS pixels."""
        deadline = time.monotonic() + timeout
        seen = None
        while True:
            state = self.webdriver.script(PAGE_STATE)
            if state['stopped'] is not None:
                raise JourneyFailed(f'the page shows the program stopped: {state["stopped"]}')
            if state['loading'] not in (None, self.loading_text):
                raise JourneyFailed(f'the page could not start the program: {state["loading"]}')
            self.last_shot = self.webdriver.screenshot()
            image = decode_png(self.last_shot)
            scale = image[0] / self.viewport[0]
            found = largest_block(image, colour)
            if found:
                (x, y, w, h), _ = found
                seen = tuple(round(v / scale) for v in (x, y, w, h))
                if all(abs(got - want) <= 1 for got, want in zip(seen[2:], size)):
                    break
            if time.monotonic() > deadline:
                raise JourneyFailed(
                    f'{caption} did not appear within {timeout} s: largest {colour} block {seen}, '
                    f'loading text {state["loading"]!r}, screens logged {state["screens"]}')
            time.sleep(0.2)
        # The page logs a screen before it paints it, but may have done so while
        # the screenshot was being taken.
        state = self.webdriver.script(PAGE_STATE)
        logged = [line for line in state['screens'] if line.rsplit(' ', 1)[0] == caption]
        if not logged:
            raise JourneyFailed(f'{caption} seen at {seen} but the page logged only {state["screens"]}')
        page_rect = tuple(int(v) for v in logged[-1].rsplit(' ', 1)[1].split(','))
        if any(abs(a - b) > 1 for a, b in zip(seen, page_rect)):
            raise JourneyFailed(f'{caption}: pixels show {seen}, the page logged {page_rect}')
        x, y, w, h = seen
        if abs(x + w / 2 - self.viewport[0] / 2) > 8 or abs(y + h / 2 - self.viewport[1] / 2) > 8:
            raise JourneyFailed(f'{caption} at {seen} is not centred in {self.viewport}')
        return seen

    def save(self, name):
        with open(os.path.join(self.shots, name), 'wb') as file:
            file.write(self.last_shot)

    def click(self, x, y):
        self.webdriver.call('POST', '/actions', {'actions': [{
            'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'},
            'actions': [{'type': 'pointerMove', 'duration': 0, 'origin': 'viewport', 'x': x, 'y': y},
                        {'type': 'pointerDown', 'button': 0},
                        {'type': 'pointerUp', 'button': 0}]}]})
        self.webdriver.call('DELETE', '/actions')

    def tap(self, x, y):
        """A finger's tap at a CSS pixel of the page. WebKitGTK under Xvfb has no
        touch screen (WebDriver's touch pointer made no touch events here), so
        the page's canvas is given the touch events a touch screen would send."""
        for kind in ('touchstart', 'touchend'):
            self.webdriver.call('POST', '/execute/sync', {'script': TOUCH, 'args': [kind, x, y]})
            time.sleep(0.1)

    def walk(self, url):
        self.open(url)
        started = time.monotonic()
        menu = self.wait_for_screen('メニュー', CYAN, MENU_SIZE, 60)
        self.save('1-menu.png')
        print(f'メニュー at {menu} after {time.monotonic() - started:.1f} s')

        # By finger: the first tap on the dove brings out 正解率表示 and opens nothing; the second opens 正解率.
        dove = (menu[0] + RESULTS_BUTTON_CENTRE[0], menu[1] + RESULTS_BUTTON_CENTRE[1])
        self.tap(*dove)
        time.sleep(1)
        state = self.webdriver.script(PAGE_STATE)
        if any(line.startswith('正解率 ') for line in state['screens']):
            raise JourneyFailed(f'one tap on the dove opened 正解率: {state["screens"]}')
        self.tap(*dove)
        results = self.wait_for_screen('正解率', LIGHT_GREEN, RESULTS_SIZE, 20)
        self.save('1-results-by-taps.png')
        print(f'正解率 at {results} after two taps on the dove')
        self.click(results[0] + RESULTS_MENU_CENTRE[0], results[1] + RESULTS_MENU_CENTRE[1])
        menu = self.wait_for_screen('メニュー', CYAN, MENU_SIZE, 20)

        self.click(menu[0] + ASIA_BUTTON_CENTRE[0], menu[1] + ASIA_BUTTON_CENTRE[1])
        started = time.monotonic()
        asia = self.wait_for_screen('アジア', LIGHT_PINK, SUBMENU_SIZE, 20)
        self.save('2-asia.png')
        behind = largest_block(decode_png(self.last_shot), CYAN)
        print(f'アジア at {asia} after {time.monotonic() - started:.1f} s; '
              f'menu {f"shows behind it: {behind}" if behind else "hidden"}')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('site', help='the built site folder (holds index.html)')
    parser.add_argument('--shots', required=True, help='folder for the screenshots of each step')
    args = parser.parse_args()
    if not os.path.isfile(os.path.join(args.site, 'index.html')):
        print(f'FAILED: no index.html in {args.site}')
        return 1
    if not os.path.exists(MINIBROWSER):
        print(f'FAILED: no {MINIBROWSER} (webkit2gtk-driver)')
        return 1
    os.makedirs(args.shots, exist_ok=True)
    began = time.monotonic()
    journey = None
    try:
        with DesktopSession('kunishirabe-webkit.') as session:
            server = serve(os.path.abspath(args.site))
            driver = None
            try:
                driver, webdriver = start_webdriver(session)
                webdriver.session = webdriver.call('POST', '/session', {'capabilities': {'alwaysMatch': {
                    'browserName': 'MiniBrowser',
                    'webkitgtk:browserOptions': {'binary': MINIBROWSER, 'args': ['--automation']}}}})['sessionId']
                journey = Journey(webdriver, args.shots)
                journey.walk(f'http://127.0.0.1:{server.server_address[1]}/index.html')
            except BaseException:
                if journey:
                    try:
                        time.sleep(1)  # the browser may not have painted the latest state yet
                        journey.last_shot = webdriver.screenshot()
                    except JourneyFailed:
                        pass
                    if journey.last_shot:
                        journey.save('failure.png')
                log = f'{session.work}/webdriver.log'
                output = open(log, errors='replace').read().strip() if os.path.exists(log) else ''
                if output:
                    print('--- WebKitWebDriver and browser output ---')
                    print(output[-4000:])
                raise
            finally:
                if driver:
                    if webdriver.session:
                        try:
                            webdriver.call('DELETE', '', timeout=10)
                        except JourneyFailed as failure:
                            print(f'closing the session: {failure}')
                    try:  # the browser and its helpers, should closing have failed
                        os.killpg(driver.pid, signal.SIGTERM)
                        driver.wait(5)
                    except (ProcessLookupError, subprocess.TimeoutExpired):
                        pass
                server.shutdown()
                server.server_close()
    except JourneyFailed as failure:
        print(f'FAILED: {failure}')
        return 1
    print(f'passed in {time.monotonic() - began:.1f} s; screenshots in {args.shots}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
