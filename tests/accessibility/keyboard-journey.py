#!/usr/bin/python3
"""The real program driven by the keyboard alone and followed, as a screen
reader follows it, over the accessibility bus (AT-SPI):

  メニュー → 正解率表示 → 正解率 → 正解率消去 → メニュー → a flag's text → アジア →
  国しらべ → 日本 chosen with the arrow keys → the flag story → the page link
  (総務省データリンク for 日本) opens the viewer → 国ドリル → one answer → 再スタート → メニュー → 終 (status 0).

Run inside its own session bus (dbus-run-session); it starts its own Xvfb and
accessibility bus. Keys go through the X server with xdotool.

usage: dbus-run-session -- /usr/bin/python3 keyboard-journey.py PROGRAM
KUNISHIRABE_JOURNEY_SHOTS=DIR keeps an xwd screen dump of every step there.
"""

import os
import subprocess
import sys
import time

from desktop_session import DesktopSession, JourneyFailed, run

STEP_TIMEOUT = 15.0
steps = 0
shots = os.environ.get('KUNISHIRABE_JOURNEY_SHOTS')


def main():
    try:
        with DesktopSession('kunishirabe-journey.') as session:
            session.start_program(os.path.realpath(sys.argv[1]))
            try:
                Journey(session).walk()
            except Exception:
                if session.program_output():
                    print('--- program output ---')
                    print(session.program_output())
                raise
        print(f'all {steps} steps passed')
        return 0
    except JourneyFailed as failure:
        print(f'FAILED after step {steps}: {failure}')
        return 1


class Journey:
    def __init__(self, session):
        import pyatspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.context = GLib.MainContext.default()
        self.session = session
        self.process = session.program
        self.events = []
        self.focused = None
        pyatspi.Registry.registerEventListener(
            self.heard, 'object:property-change:accessible-name',
            'object:property-change:accessible-description', 'object:state-changed:focused')
        self.frame = None

    # --- what the screen reader hears and sees -------------------------------

    def heard(self, event):
        try:
            if event.type.startswith('object:state-changed:focused'):
                if event.detail1:
                    self.focused = event.source
                return
            source = event.source
            source.clearCache()
            told = source.description if event.type.endswith('description') else source.name
            self.events.append((event.type, source.getRoleName(), told))
        except Exception:
            pass

    def pump(self):
        while self.context.iteration(False):
            pass

    def wait(self, what, condition, timeout=STEP_TIMEOUT):
        limit = time.monotonic() + timeout
        while True:
            self.pump()
            if self.process.poll() is not None:
                raise JourneyFailed(f'the program ended (status {self.process.returncode}) '
                                    f'while waiting for {what}')
            try:
                result = condition()
            except Exception:  # the tree changes under the walk
                result = None
            if result:
                return result
            if time.monotonic() > limit:
                raise JourneyFailed(f'{what}: not within {timeout:.0f} s (focus: {self.describe_focus()})'
                                    f'\nheard: {self.events}'
                                    f'\n{self.describe_window()}')
            time.sleep(0.05)

    def application(self):
        for app in self.pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def window(self, caption):
        """The showing frame named `caption`."""
        app = self.application()
        for frame in app or []:
            if frame is None:
                continue
            frame.clearCache()
            if frame.name == caption and frame.getRole() == self.pyatspi.ROLE_FRAME \
                    and frame.getState().contains(self.pyatspi.STATE_SHOWING):
                return frame
        return None

    def walk_tree(self, node):
        yield node
        for child in node:
            if child is not None:
                yield from self.walk_tree(child)

    def control(self, name, role=None):
        """The showing control of that name in the current window."""
        for node in self.walk_tree(self.frame):
            node.clearCache()
            if node.name == name and (role is None or node.getRoleName() == role) \
                    and node.getState().contains(self.pyatspi.STATE_SHOWING):
                return node
        return None

    def focus(self):
        """What has the focus, as focus events tell it (list rows report
        themselves focused while their list has not). The program's bridge
        sends no event until it has heard of our listener: until the first
        event, the window is asked."""
        focused = self.pyatspi.STATE_FOCUSED
        if self.focused is None:
            candidates = self.walk_tree(self.frame) if self.frame else []
        else:
            candidates = [self.focused]
        for node in candidates:
            node.clearCache()
            if node.getState().contains(focused):
                return node
        return None

    def describe_focus(self):
        try:
            node = self.focus()
            return f'{node.getRoleName()} "{node.name}"' if node else 'nothing'
        except Exception:
            return 'unknown'

    def describe_window(self):
        try:
            return '\n'.join(f'  {node.getRoleName()} "{node.name}"'
                             f'{" showing" if node.getState().contains(self.pyatspi.STATE_SHOWING) else ""}'
                             for node in self.walk_tree(self.frame))
        except Exception:
            return ''

    # --- acting as the user ------------------------------------------------------

    def open_window(self, caption, name=None):
        """Waits for the window (a frame named `name`, or by its caption), and
        gives it the keyboard as a window manager would."""
        name = name or caption
        self.frame = self.wait(f'window "{name}" as a frame', lambda: self.window(name))
        if not self.session.focus_window(caption):
            raise JourneyFailed(f'no X window captioned "{caption}"')

    def keys(self, *keys):
        self.session.keys(*keys)

    def expect_focus(self, name, role):
        self.wait(f'focus on {role} "{name}"',
                  lambda: (lambda node: node and node.name == name and node.getRoleName() == role)(
                      self.focus()))

    def expect_showing(self, name, role=None):
        return self.wait(f'"{name}" showing', lambda: self.control(name, role))

    def expect_hidden(self, name):
        self.wait(f'"{name}" hidden', lambda: self.control(name) is None)

    def expect_heard(self, what, matches):
        self.wait(f'an event telling {what}', lambda: any(matches(*event) for event in self.events))

    def passed(self, what):
        global steps
        steps += 1
        print(f'ok {steps:2d}  {what}', flush=True)
        self.shot('')

    def shot(self, label):
        if shots:
            os.makedirs(shots, exist_ok=True)
            time.sleep(0.3)
            run('xwd', '-root', '-silent', '-out', f'{shots}/{steps:02d}{label}.xwd')

    # --- the journey ---------------------------------------------------------------

    def walk(self):
        self.open_window('メニュー')
        self.expect_focus('アジア', 'push button')
        self.passed('メニュー is a frame named by its caption; the focus is on アジア')

        # Round past the regions to the dove, which brings out the results button.
        self.keys(*['Tab'] * 8)
        self.expect_focus('白い鳩', 'image')
        self.expect_showing('正解率表示', 'push button')
        self.shot('-dove')
        self.keys('Tab')
        self.expect_focus('正解率表示', 'push button')
        self.passed('Tab onto the dove reveals 正解率表示, the next stop')
        self.keys('Return')

        self.open_window('正解率')
        self.expect_focus('メニュー', 'push button')
        self.expect_showing('正解率のグラフ', 'image')
        self.keys('Tab')
        self.expect_focus('正解率消去', 'push button')
        self.passed('正解率 opens; Tab onto the title brings out 正解率消去 over it, with the focus')
        self.keys('space')
        self.keys('Tab')
        self.expect_focus('メニュー', 'push button')
        self.expect_hidden('正解率消去')
        self.passed('space clears; Tab past 正解率消去 hides it again')
        self.keys('Return')

        self.open_window('メニュー')
        self.expect_focus('アジア', 'push button')
        self.keys('shift+Tab', 'shift+Tab', 'shift+Tab')
        self.expect_focus('オリンピック旗', 'image')
        self.expect_showing('旗の説明', 'list')
        self.shot('-flag')
        self.keys('Escape')
        self.expect_hidden('旗の説明')
        self.expect_focus('オリンピック旗', 'image')
        self.passed('Shift+Tab onto a flag shows its text; Escape hides it')
        self.keys('Tab', 'Tab', 'Tab')
        self.expect_focus('アジア', 'push button')
        self.keys('Return')

        self.open_window('アジア')
        self.expect_focus('国しらべ', 'push button')
        self.keys('Return')
        self.open_window('アジア', 'アジア 国しらべ')
        self.expect_focus('国名の選択', 'combo box')
        self.passed('サブメニュー アジア → 国しらべ opens the atlas "アジア 国しらべ", focus on 国名の選択')

        for _ in range(30):
            if self.control('日本の国旗', 'image'):
                break
            self.keys('Down')
            time.sleep(0.15)
        self.expect_showing('日本の国旗', 'image')
        self.passed('the arrow keys choose 日本: its flag shows')

        self.keys('Tab', 'Tab', 'Tab')
        self.expect_focus('日本の国旗', 'image')
        story = self.expect_showing('国旗の由来', 'list')
        self.shot('-flag')
        if story.childCount < 1:
            raise JourneyFailed('the flag story has no lines')
        self.keys('Tab')
        self.expect_focus(story.getChildAtIndex(0).name, 'list item')
        self.passed(f'Tab onto the flag opens its story ({story.childCount} lines), the next stop, '
                    'entered at its first line')

        # 日本's page is the other ministry's: 総務省データリンク.
        self.keys('Tab', 'Tab')
        self.expect_focus('総務省データリンク', 'push button')
        self.shot('-title')
        self.keys('Return')
        self.open_window('日本')
        self.expect_showing('アドレス', 'text')
        self.passed('Tab onto 国しらべ brings out 総務省データリンク over it; Enter opens the viewer "日本"')

        self.open_window('アジア', 'アジア 国しらべ')
        self.expect_focus('総務省データリンク', 'push button')
        self.keys('Tab', 'Tab')
        self.expect_focus('国ドリル', 'push button')
        self.keys('Return')

        self.open_window('アジアドリル')
        self.wait('focus on the first marker', lambda: (lambda node: node and node.name.startswith('マーカー 1 ')
                                                                and node.getRoleName() == 'push button')(self.focus()))
        question = self.wait('the question', lambda: next(
            (node.name for node in self.walk_tree(self.frame) if node.name.endswith('はどこ？ ')), None))
        self.expect_showing('25', 'label')
        self.passed(f'国ドリル opens アジアドリル: "{question.strip()}", 残 25 問')

        self.events.clear()
        self.keys('Return')
        self.expect_heard('the verdict', lambda kind, role, value: kind.endswith('description')
                          and value in ('正解', '不正解'))
        self.expect_heard('the accuracy', lambda kind, role, value: kind.endswith('accessible-name')
                          and role == 'label' and value in ('0', '100'))
        self.expect_heard('the next question', lambda kind, role, value: value.endswith('はどこ？ ')
                          and value != question)
        self.expect_heard('the remaining count', lambda kind, role, value: value == '24')
        verdict = next(value for kind, role, value in self.events if value in ('正解', '不正解'))
        self.passed(f'Enter answers: verdict "{verdict}", accuracy, next question and 24 announced')

        self.keys('shift+Tab', 'shift+Tab', 'shift+Tab')
        self.expect_focus('再スタート', 'push button')
        self.shot('-plate')
        self.events.clear()
        self.keys('Return')
        self.expect_heard('a fresh run', lambda kind, role, value: value == '25')
        self.passed('Shift+Tab onto the title plate brings out 再スタート; Enter starts afresh (残 25)')

        self.keys('Tab', 'Tab')
        self.expect_focus('メニュー', 'push button')
        self.expect_hidden('再スタート')
        self.keys('Return')

        self.open_window('メニュー')
        self.expect_focus('アジア', 'push button')
        self.keys('shift+Tab')
        self.expect_focus('終', 'push button')
        self.keys('Return')
        try:
            status = self.process.wait(10)
        except subprocess.TimeoutExpired:
            raise JourneyFailed('the program still runs 10 s after 終')
        if status != 0:
            raise JourneyFailed(f'the program ended with status {status}')
        self.passed('終 ends the program with status 0')


if __name__ == '__main__':
    sys.exit(main())
