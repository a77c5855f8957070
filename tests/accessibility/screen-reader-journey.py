#!/usr/bin/python3
"""Orca, the screen reader, follows the real program driven by the keyboard
alone; the journey checks what Orca says, as its debug log records it:

  メニュー → a flag's text as it appears, and its list from the first line →
  アジア (サブメニュー) → アジア 国しらべ → entries chosen with the arrow keys, and
  the chosen one again on coming back to the selector → the flag story and the
  overview from their first lines → アジアドリル: question and count, one answer
  with verdict, accuracy and the next question → 南アメリカドリル to its end
  (medal or 不合格) → 正解率 with its bars in words → 終.

Run inside its own session bus (dbus-run-session); it starts its own Xvfb,
accessibility bus and Orca (Japanese locale, no speech synthesiser).

usage: dbus-run-session -- /usr/bin/python3 screen-reader-journey.py PROGRAM
KUNISHIRABE_ORCA_RECORD=1 goes on past a missing utterance (to record what
Orca says); every step prints what was heard. KUNISHIRABE_ORCA_LOG=FILE keeps
Orca's debug log.
"""

import codecs
import os
import re
import shutil
import subprocess
import sys
import time

from desktop_session import DesktopSession, JourneyFailed, run

HERE = os.path.dirname(os.path.realpath(__file__))
STEP_TIMEOUT = 15.0
RECORD = os.environ.get('KUNISHIRABE_ORCA_RECORD') == '1'
# An utterance may span lines; the voice settings follow it on its last line.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(?:\{[^\n]*\})?\n", re.S)
missing = []


def japanese_locale(session):
    """A ja_JP.UTF-8 locale of our own, so that Orca speaks roles in Japanese."""
    folder = f'{session.work}/locale'
    os.makedirs(folder)
    result = subprocess.run(['localedef', '-i', 'ja_JP', '-f', 'UTF-8', f'{folder}/ja_JP.UTF-8'],
                            capture_output=True, text=True)
    if result.returncode not in (0, 1):  # 1: written, with warnings
        raise JourneyFailed(f'localedef: {result.stderr.strip()}')
    return {'LANG': 'ja_JP.UTF-8', 'LANGUAGE': 'ja', 'LOCPATH': folder}


class Orca:
    """Orca in the session, and the lines it has spoken so far."""

    def __init__(self, session):
        self.log = f'{session.work}/orca-debug.log'
        # No speech dispatcher: with no sound device it would hang Orca.
        env = dict(os.environ, **session.home('orca'), **japanese_locale(session),
                   SPEECHD_CMD='/bin/false')
        self.process = session.start('/usr/bin/python3', f'{HERE}/orca-logged.py', self.log,
                                     env=env, log='orca.log')
        self.offset = 0
        self.decoder = codecs.getincrementaldecoder('utf-8')(errors='replace')
        self.pending = ''
        self.lines = []
        self.start = 0
        self.session = session

    def wait_ready(self, timeout=60):
        limit = time.monotonic() + timeout
        while True:
            try:
                if 'ORCA: Starting registry' in open(self.log, encoding='utf-8', errors='replace').read():
                    return
            except FileNotFoundError:
                pass
            if time.monotonic() > limit or self.process.poll() is not None:
                raise JourneyFailed(f'Orca did not start within {timeout} s:\n'
                                    + open(f'{self.session.work}/orca.log').read())
            time.sleep(0.1)

    def heard(self):
        try:
            with open(self.log, 'rb') as log:
                log.seek(self.offset)
                data = log.read()
        except FileNotFoundError:
            return self.lines
        self.offset += len(data)
        self.pending += self.decoder.decode(data)
        end = 0
        for match in SPOKEN.finditer(self.pending):
            self.lines.append(re.sub(r'\n\s*', '\n', match.group(1)))
            end = match.end()
        rest = self.pending[end:]
        start = rest.find('SPEECH OUTPUT')
        self.pending = rest[start:] if start >= 0 else ''
        return self.lines

    def since_mark(self):
        return self.heard()[self.start:]

    def mark(self):
        self.start = len(self.heard())

    def wait(self, what, matches, timeout=STEP_TIMEOUT):
        """Waits until a line spoken since the mark matches; returns it.
        Recording, goes on after at most 3 s."""
        limit = time.monotonic() + (3 if RECORD else timeout)
        while True:
            if self.process.poll() is not None:
                raise JourneyFailed(f'Orca ended (status {self.process.returncode}) waiting for {what}')
            program = self.session.program
            if program is not None and program.poll() is not None:
                raise JourneyFailed(f'the program ended (status {program.returncode}) waiting for {what}')
            for line in self.since_mark():
                if matches(line):
                    return line
            if time.monotonic() > limit:
                if RECORD:
                    missing.append(what)
                    print(f'   MISSING: {what}', flush=True)
                    return ''
                raise JourneyFailed(f'Orca did not say {what} within {timeout:.0f} s; it said:\n  '
                                    + '\n  '.join(self.since_mark()))
            time.sleep(0.05)

    def says(self, text, timeout=STEP_TIMEOUT):
        return self.wait(f'"{text}"', lambda line: text in line, timeout)


class Journey:
    def __init__(self, session, orca, data_root):
        self.session = session
        self.orca = orca
        self.data_root = data_root
        self.steps = 0

    def text_lines(self, relative):
        with open(os.path.join(self.data_root, *relative.split('/')), 'rb') as file:
            return [line.strip() for line in file.read().decode('cp932').splitlines() if line.strip()]

    def open_window(self, caption):
        limit = time.monotonic() + STEP_TIMEOUT
        while not self.session.focus_window(caption):
            if time.monotonic() > limit:
                raise JourneyFailed(f'no X window captioned "{caption}"')
            time.sleep(0.1)

    def keys(self, *keys):
        self.session.keys(*keys, pause=0.15)

    def step(self, what):
        self.steps += 1
        print(f'ok {self.steps:2d}  {what}', flush=True)
        for line in self.orca.since_mark():
            print('      "' + line.replace('\n', '\n       ') + '"', flush=True)
        self.orca.mark()

    def walk(self):
        self.orca.wait_ready()
        self.orca.mark()
        self.session.start_program(self.program)
        self.open_window('メニュー')
        self.orca.says('メニュー')
        self.orca.says('アジア')
        self.step('メニュー is announced with the focus on アジア')

        olympic = self.text_lines('国旗/h3.txt')
        self.keys('shift+Tab', 'shift+Tab', 'shift+Tab')
        self.orca.says('オリンピック旗')
        self.orca.says(olympic[0])
        self.step('Shift+Tab onto the Olympic flag: its text is read as it appears')
        self.keys('Tab')
        self.orca.wait('the text\'s first line as the list is entered',
                       lambda line: line.startswith(olympic[0]))
        self.keys('Down')
        self.orca.says(olympic[1])
        self.step('Tab into 旗の説明 reads its first line; Down the second')

        self.keys('Escape', 'Tab', 'Tab', 'Tab')
        self.orca.says('アジア')
        self.keys('Return')
        self.open_window('アジア')
        self.orca.says('国しらべ')
        self.step('サブメニュー アジア')

        self.keys('Return')
        time.sleep(0.5)
        self.open_window('アジア')
        self.orca.says('アジア 国しらべ')
        self.orca.says('コンボボックス')
        self.step('the atlas is announced as アジア 国しらべ, the selector focused')

        names = [record.split(',')[0] for record in self.text_lines('概要/アジア/kuni.txt')]
        chosen = []
        for _ in range(30):
            self.orca.mark()
            self.keys('Down')
            line = self.orca.wait('the chosen entry', lambda line: any(name in line for name in names))
            chosen.append(line)
            if '日本' in line or (RECORD and len(chosen) == 10):
                break
        print('      chosen with Down: ' + ' / '.join(chosen), flush=True)
        if not RECORD and '日本' not in chosen[-1]:
            raise JourneyFailed('Down never reached 日本')
        self.orca.mark()
        self.step('every Down speaks the chosen entry, up to 日本')

        self.keys('Tab')
        self.orca.says('国ドリル')
        self.orca.mark()
        self.keys('shift+Tab')
        self.orca.says('コンボボックス')
        self.orca.wait('the selector\'s value 日本', lambda line: line.rstrip('. ') == '日本')
        self.step('back on the selector, its value 日本 is read')

        story = self.text_lines('国旗/アジア/由来/y' + self.japan_number() + '.txt')
        overview = self.text_lines('概要/アジア/s' + self.japan_number() + '.txt')
        self.keys('Tab', 'Tab', 'Tab')
        self.orca.says('日本の国旗')
        self.orca.says(story[0])
        self.step('Tab onto the flag: its story is read as it appears')
        self.keys('Tab')
        self.orca.wait('the story\'s first line as the list is entered', lambda line: line.startswith(story[0]))
        self.keys('Tab')
        self.orca.wait('the overview\'s first line as the list is entered',
                       lambda line: line.startswith(overview[0]))
        self.step('the story and the overview are read from their first lines')

        self.keys('Tab')
        self.orca.says('データリンク')
        self.keys('Tab', 'Tab')
        self.orca.says('国ドリル')
        self.keys('Return')
        self.drill('アジアドリル', 25)
        self.keys('Return')
        self.orca.wait('the verdict', lambda line: '正解' in line)
        self.orca.wait('the accuracy', lambda line: '正解率' in line and '％' in line)
        self.orca.wait('the next question and 24 left', lambda line: 'はどこ' in line and '24' in line)
        self.step('Enter on a marker: verdict, accuracy, then the next question and 残 24 問')

        self.from_drill_to_menu()
        self.keys(*['Tab'] * 7)
        self.orca.says('南アメリカ')
        self.keys('Return')
        self.open_window('南アメリカ')
        self.orca.says('国しらべ')
        self.keys('Tab')
        self.orca.says('国ドリル')
        self.keys('Return')
        self.drill('南アメリカドリル', 12)
        for left in range(11, -1, -1):
            self.orca.mark()
            self.keys('Return')
            if left:
                self.orca.wait(f'the next question, {left} left', lambda line: 'はどこ' in line
                               and f'{left} 問' in line, timeout=STEP_TIMEOUT)
        self.orca.wait('the medal or 不合格', lambda line: 'メダル' in line or '不合格' in line)
        self.step('南アメリカドリル answered to its end: the medal or 不合格 is read')

        self.from_drill_to_menu()
        self.keys(*['Tab'] * 9)
        self.orca.says('正解率表示')
        self.keys('Return')
        self.open_window('正解率')
        self.orca.wait('the chart in words', lambda line: 'アジア 0％' in line and '南アメリカ' in line)
        self.step('正解率 reads its bars in words')

        self.keys('Return')
        self.open_window('メニュー')
        self.orca.says('アジア')
        self.keys('shift+Tab')
        self.orca.says('終')
        self.keys('Return')
        try:
            status = self.session.program.wait(10)
        except subprocess.TimeoutExpired:
            raise JourneyFailed('the program still runs 10 s after 終')
        if status != 0:
            raise JourneyFailed(f'the program ended with status {status}')
        self.step('終 ends the program')

    def from_drill_to_menu(self):
        """Shift+Tab from a marker to メニュー, Enter: the menu, focus on アジア."""
        self.keys('shift+Tab')
        self.orca.says('メニュー')
        self.keys('Return')
        self.open_window('メニュー')
        self.orca.says('アジア')

    def drill(self, caption, count):
        self.open_window(caption)
        self.orca.says(caption)
        self.orca.wait('the question', lambda line: 'はどこ' in line)
        self.orca.wait(f'残 {count} 問', lambda line: f'残 {count} 問' in line)
        self.step(f'{caption} is announced with its question and 残 {count} 問')

    def japan_number(self):
        for number, record in enumerate(self.text_lines('概要/アジア/kuni.txt'), start=1):
            if record.split(',')[0] == '日本':
                return str(number)
        raise JourneyFailed('日本 is not in kuni.txt')


def keep_log(orca):
    if os.environ.get('KUNISHIRABE_ORCA_LOG'):
        shutil.copyfile(orca.log, os.environ['KUNISHIRABE_ORCA_LOG'])


def main():
    program = os.path.realpath(sys.argv[1])
    try:
        with DesktopSession('kunishirabe-orca.') as session:
            orca = Orca(session)
            journey = Journey(session, orca, os.path.dirname(program))
            journey.program = program
            try:
                journey.walk()
            except Exception:
                keep_log(orca)
                print('--- heard since the last step ---')
                print('\n'.join(orca.since_mark()))
                if session.program and session.program_output():
                    print('--- program output ---')
                    print(session.program_output())
                raise
            keep_log(orca)
        if missing:
            print(f'recorded; missing: {missing}')
            return 1
        print(f'all {journey.steps} steps passed')
        return 0
    except JourneyFailed as failure:
        print(f'FAILED: {failure}')
        return 1


if __name__ == '__main__':
    sys.exit(main())
