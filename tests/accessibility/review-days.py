#!/usr/bin/python3
"""The real program on three days in a row, its clock set by libfaketime, with
one review record kept between the runs: each day the pupil opens
きょうの復習 from the menu and answers every question, some wrong on purpose,
over the accessibility bus (the question read from its label, the marker
found by its name and clicked where the bus places it). What is asked each
day is checked against the record the run before left: the entries due
first, then new ones to ten; and the record after each run against the
Leitner boxes. A fourth run starts on a record that is not JSON: it is set
aside unchanged and the pupil is told.

Run inside its own session bus (dbus-run-session); it starts its own Xvfb and
accessibility bus.

usage: dbus-run-session -- /usr/bin/python3 review-days.py PROGRAM
"""

import json
import os
import re
import sys
import time
from datetime import date, datetime, timedelta

from desktop_session import AccessibleProgram, DesktopSession, JourneyFailed, run

FAKETIME_LIBRARY = '/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1'
FIRST_DAY = date(2026, 4, 8)
MORNING = '08:30:00'
START_REGION = 'アジア'
FEWEST_QUESTIONS = 10
# First asks (1-based, in the day's order) answered wrong, day by day.
MISSED_AT = {1: {1, 4}, 2: {2}, 3: {1}}
NOT_READ_NOTICE = 'これまでの記録が読めませんでした。'
QUESTION = re.compile(r'^ (.+)はどこ？ $')
steps = 0


def main():
    if not os.path.exists(FAKETIME_LIBRARY):
        print(f'FAILED: {FAKETIME_LIBRARY} is missing (Debian package libfaketime)')
        return 1
    try:
        with DesktopSession('kunishirabe-review.') as session:
            pupil = Pupil(session, os.path.realpath(sys.argv[1]))
            try:
                pupil.three_days_and_a_bad_record()
            except Exception:
                print('--- program output ---')
                print(pupil.program_output())
                raise
        print(f'all {steps} steps passed')
        return 0
    except JourneyFailed as failure:
        print(f'FAILED after step {steps}: {failure}')
        return 1


def passed(what):
    global steps
    steps += 1
    print(f'ok {steps:2d}  {what}', flush=True)


def leitner(before, right, today):
    box = min((before['box'] if before else 1) + 1, 5) if right else 1
    return {'asked': today.isoformat(), 'box': box, 'due': (today + timedelta(days=2 ** (box - 1))).isoformat()}


class Pupil(AccessibleProgram):
    def __init__(self, session, program):
        super().__init__(session)
        self.program = program
        self.home = session.home('pupil')
        self.record_dir = f'{self.home["XDG_DATA_HOME"]}/kunishirabe'
        self.record_path = f'{self.record_dir}/review-record.json'
        self.regions = {}
        self.log = None

    # --- the program on a given day ----------------------------------------------

    def start(self, day):
        env = dict(os.environ, **self.home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', LANG='C.UTF-8',
                   LD_PRELOAD=FAKETIME_LIBRARY, FAKETIME=f'@{day.isoformat()} {MORNING}',
                   FAKETIME_DONT_FAKE_MONOTONIC='1')
        # A sanitized build links its runtime in; the preloaded clock comes before it.
        env['ASAN_OPTIONS'] = ':'.join(filter(None, [os.environ.get('ASAN_OPTIONS'),
                                                     'verify_asan_link_order=0']))
        self.log = f'program-{day.isoformat()}.log'
        self.process = self.session.program = self.session.start(self.program, env=env, log=self.log)

    def program_output(self):
        try:
            return open(f'{self.session.work}/{self.log}').read() if self.log else ''
        except OSError:
            return ''

    def quit(self):
        """メニュー, then 終: the program ends with status 0."""
        self.press(self.expect_showing('メニュー', 'push button'))
        self.open_window('メニュー')
        self.press(self.expect_showing('終', 'push button'))
        self.expect_end()

    # --- the accessibility bus ---------------------------------------------------

    def describe(self, node):
        return f'{super().describe(node)} "{node.description}"'

    def press(self, node):
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if 'Press' not in names:
            raise JourneyFailed(f'"{node.name}" has no Press action: {names}')
        action.doAction(names.index('Press'))

    def click(self, node):
        x, y, width, height = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        run('xdotool', 'mousemove', '--sync', str(x + width // 2), str(y + height // 2), 'click', '1')

    # --- the data and the record -------------------------------------------------

    def entries_of(self, region):
        """The region's entry names by CountryIndex (kuni.txt, record k = marker k)."""
        if region not in self.regions:
            raw = open(f'{os.path.dirname(self.program)}/概要/{region}/kuni.txt', 'rb').read()
            try:
                text = raw.decode('utf-8')
            except UnicodeDecodeError:
                text = raw.decode('cp932')
            names = []
            for line in text.splitlines():
                line = line.lstrip(' \t')
                if line:
                    names.append(line[1:line.find('"', 1)] if line.startswith('"') else line.split(',')[0])
            self.regions[region] = names
        return self.regions[region]

    def record(self):
        if not os.path.exists(self.record_path):
            return {'days': [], 'entries': {}, 'format': 1}
        with open(self.record_path, encoding='utf-8') as file:
            return json.load(file)

    # --- one day's review ----------------------------------------------------------

    def open_review(self, expected_due):
        self.open_window('メニュー')
        self.expect_focus(START_REGION, 'push button')
        button = self.expect_showing('きょうの復習', 'push button')
        if button.description != f'きょう復習する国 {expected_due}':
            raise JourneyFailed(f'the menu\'s きょうの復習 tells "{button.description}", '
                                f'not "きょう復習する国 {expected_due}"')
        for _ in range(4):
            node = self.focus()
            if node is not None and node.name == 'きょうの復習':
                break
            self.session.keys('shift+Tab')
        self.expect_focus('きょうの復習', 'push button')
        self.session.keys('Return')
        self.open_window('きょうの復習')

    def question(self):
        """(region, name) of the question showing; None once the session is over."""
        def read():
            if self.control('学習の記録を見る', 'push button'):
                return 'over',
            # While a judgement shows, the next question is not asked yet.
            judgement = self.control('判定', 'panel')
            if judgement is None or judgement.description and not judgement.description.startswith(NOT_READ_NOTICE):
                return None
            label = next((node for node in self.walk_tree(self.frame) if node.getRoleName() == 'label'
                          and QUESTION.match(node.name) and self.showing(node)), None)
            map_ = next((node for node in self.walk_tree(self.frame) if node.getRoleName() == 'image'
                         and node.name.endswith('の地図') and self.showing(node)), None)
            return label and map_ and (map_.name[:-len('の地図')], QUESTION.match(label.name)[1])
        asked = self.wait('a question or the end of the session', read)
        if asked[0] == 'over':
            return None
        region, name = asked
        if name == 'この国旗の国' or name.startswith('首都が'):
            raise JourneyFailed(f'"{name}はどこ？" is asked of an entry in box 1 or 2')
        if name not in self.entries_of(region):
            raise JourneyFailed(f'"{name}はどこ？" names no entry of {region}\'s kuni.txt on "{region}の地図"')
        return region, name

    def answer(self, region, name, right):
        names = self.entries_of(region)
        asked = names.index(name) + 1
        chosen = asked if right else asked % len(names) + 1
        marker = self.wait(f'マーカー {chosen}', lambda: next(
            (node for node in self.walk_tree(self.frame) if node.getRoleName() == 'push button'
             and node.name.startswith(f'マーカー {chosen} ') and self.showing(node)), None))
        self.click(marker)
        told = (f'正解　{name}' if right else
                f'不正解　あなたの答えは{names[chosen - 1]}　正しい答えは{name}')
        judgement = self.expect_showing('判定', 'panel')
        self.wait(f'the judgement "{told}"', lambda: judgement.clearCache() or judgement.description == told)
        self.session.keys('Return')
        self.wait('the pause to end', lambda: judgement.clearCache() or judgement.description != told)

    def due_keys(self, record, today):
        return {key for key, state in record['entries'].items() if date.fromisoformat(state['due']) <= today}

    def review_day(self, number, today):
        """Answers the day's session through; what was asked, in order, as
        (key, first ask, answered right)."""
        fresh_start = not os.path.exists(self.record_path)
        self.open_review(len(self.due_keys(self.record(), today)))
        asked = []
        while (question := self.question()) is not None:
            if not asked and fresh_start and os.path.exists(self.record_path):
                raise JourneyFailed('the record is written before the first answer')
            if len(asked) > 3 * FEWEST_QUESTIONS:
                raise JourneyFailed(f'the session goes on after {len(asked)} questions: {asked}')
            key = '/'.join(question)
            first = all(key != k for k, _, _ in asked)
            right = not first or sum(1 for _, f, _ in asked if f) + 1 not in MISSED_AT.get(number, ())
            self.answer(*question, right)
            if first:
                state = self.record()['entries'].get(key)
                if state is None or state['asked'] != today.isoformat():
                    raise JourneyFailed(f'the first answer to {key} is not in the record at once: {state}')
            asked.append((key, first, right))
        self.expect_focus('学習の記録を見る', 'push button')
        return asked

    def check_plan(self, before, today, asked):
        """Due entries first, then new ones from the start region to ten; each
        miss asked again after three to five others (sooner once no new one
        is left) until right."""
        due = self.due_keys(before, today)
        firsts = [key for key, first, _ in asked if first]
        for key in firsts:
            state = before['entries'].get(key)
            if state and key not in due:
                raise JourneyFailed(f'{key} is asked, neither new nor due (due {state["due"]}): {firsts}')
        if len(firsts) != max(FEWEST_QUESTIONS, len(due)):
            raise JourneyFailed(f'{len(firsts)} entries asked, {len(due)} of them due: {firsts}')
        if set(firsts[:len(due)]) != due:
            raise JourneyFailed(f'the due entries {sorted(due)} do not come first: {firsts}')
        strays = [key for key in firsts[len(due):] if not key.startswith(START_REGION + '/')]
        if strays:
            raise JourneyFailed(f'new entries from beyond {START_REGION}: {strays}')
        for place, (key, first, right) in enumerate(asked):
            if first:
                continue
            missed = max(p for p in range(place) if asked[p][0] == key)
            others = place - missed - 1
            fresh_later = any(first for _, first, _ in asked[place + 1:])
            if asked[missed][2] or others > 5 or (others < 3 and fresh_later):
                raise JourneyFailed(f'{key} asked again after {others} others: {asked}')
        unanswered = {key for key, _, right in asked if not right} - {key for key, first, right in asked
                                                                     if right and not first}
        if unanswered:
            raise JourneyFailed(f'the session ends with {sorted(unanswered)} never answered right')
        return len(due), len(firsts) - len(due)

    def check_record(self, before, today, asked):
        """Every first answer of the day moves its entry's box; nothing else changes."""
        expected = dict(before['entries'])
        for key, first, right in asked:
            if first:
                expected[key] = leitner(before['entries'].get(key), right, today)
        after = self.record()
        if after['entries'] != expected:
            changed = sorted(k for k in set(expected) | set(after['entries'])
                             if expected.get(k) != after['entries'].get(k))
            raise JourneyFailed('the record after the session is not as answered: '
                                + ', '.join(f'{k} {after["entries"].get(k)} (expected {expected.get(k)})'
                                            for k in changed))
        if after['days'] != sorted(set(before['days']) | {today.isoformat()}) or after['format'] != 1:
            raise JourneyFailed(f'the record\'s days or format: {after["days"]}, {after["format"]}')
        return after

    def check_summary(self, after, today, asked):
        firsts = [right for _, first, right in asked if first]
        tomorrow = len(self.due_keys(after, today + timedelta(days=1)))
        lines = [f'はじめの答えで正解 {sum(firsts)} / {len(firsts)} 問', f'あしたの復習 {tomorrow} 問']
        summary = self.wait('the summary', lambda: next(
            (node.name for node in self.walk_tree(self.frame) if 'はじめの答えで正解' in node.name
             and self.showing(node)), None))
        if not all(line in summary for line in lines):
            raise JourneyFailed(f'the summary "{summary}" does not tell {lines}')
        if any(QUESTION.match(node.name) and self.showing(node) for node in self.walk_tree(self.frame)):
            raise JourneyFailed('a question still shows after the session')

    def three_days_and_a_bad_record(self):
        for number in (1, 2, 3):
            today = FIRST_DAY + timedelta(days=number - 1)
            before = self.record()
            self.start(today)
            asked = self.review_day(number, today)
            due, new = self.check_plan(before, today, asked)
            after = self.check_record(before, today, asked)
            self.check_summary(after, today, asked)
            self.quit()
            misses = [key for key, first, right in asked if first and not right]
            passed(f'{today}: menu told {due} due; asked {due} due, then {new} new from {START_REGION}; '
                   f'{len(asked)} questions, missed {misses}; the record moved each box')
        self.bad_record(FIRST_DAY + timedelta(days=3))

    def bad_record(self, today):
        with open(self.record_path, 'wb') as file:
            file.write(b'not json')
        started = datetime.combine(today, datetime.strptime(MORNING, '%H:%M:%S').time())
        clock = time.monotonic()
        self.start(today)
        self.open_review(0)
        judgement = self.expect_showing('判定', 'panel')
        self.wait('the notice that the record could not be read',
                  lambda: judgement.clearCache() or judgement.description.startswith(NOT_READ_NOTICE))
        files = os.listdir(self.record_dir)
        aside = [name for name in files if re.fullmatch(r'review-record\.json\.bad-\d{8}-\d{6}', name)]
        if len(aside) != 1 or len(files) != 1:
            raise JourneyFailed(f'the record folder holds {files}, not the bad record set aside alone')
        stamp = datetime.strptime(aside[0][-15:], '%Y%m%d-%H%M%S')
        if not started <= stamp <= started + timedelta(seconds=time.monotonic() - clock + 1):
            raise JourneyFailed(f'{aside[0]} is not stamped with the time it was set aside ({started} on)')
        if open(f'{self.record_dir}/{aside[0]}', 'rb').read() != b'not json':
            raise JourneyFailed(f'{aside[0]} is not the bad record unchanged')
        question = self.question()
        if question is None:
            raise JourneyFailed('no question after the notice')
        self.answer(*question, True)
        fresh = self.record()
        if list(fresh['entries']) != ['/'.join(question)] or fresh['days'] != [today.isoformat()]:
            raise JourneyFailed(f'the record after the first answer is not a new one: {fresh}')
        self.quit()
        passed(f'{today}: "not json" set aside as {aside[0]}, unchanged; the pupil is told; '
               'a new record starts with the first answer')


if __name__ == '__main__':
    sys.exit(main())
