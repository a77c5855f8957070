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
import sys
import time

from desktop_session import AccessibleProgram, DesktopSession, JourneyFailed, run

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


class Journey(AccessibleProgram):
    def __init__(self, session):
        super().__init__(session)
        self.events = []
        self.focused = None
        self.pyatspi.Registry.registerEventListener(
            self.heard, 'object:property-change:accessible-name',
            'object:property-change:accessible-description', 'object:state-changed:focused')

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

    def failure_details(self):
        return f' (focus: {self.describe_focus()})\nheard: {self.events}'

    def focus(self):
        """What has the focus, as focus events tell it (list rows report
        themselves focused while their list has not). The program's bridge
        sends no event until it has heard of our listener: until the first
        event, the window is asked."""
        if self.focused is None:
            return super().focus()
        self.focused.clearCache()
        return self.focused if self.focused.getState().contains(self.pyatspi.STATE_FOCUSED) else None

    def describe_focus(self):
        try:
            node = self.focus()
            return self.describe(node) if node else 'nothing'
        except Exception:
            return 'unknown'

    # --- acting as the user ------------------------------------------------------

    def keys(self, *keys):
        self.session.keys(*keys)

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
        # No line of the lists left behind still tells that it has the focus.
        self.wait('総務省データリンク the only focused control', lambda: [
            self.describe(node) for node in self.walk_tree(self.frame)
            if node.getState().contains(self.pyatspi.STATE_FOCUSED)] == ['push button "総務省データリンク"'])
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
        self.expect_end()
        self.passed('終 ends the program with status 0')


if __name__ == '__main__':
    sys.exit(main())
