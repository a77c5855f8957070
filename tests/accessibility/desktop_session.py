"""A private desktop for the journeys that follow the real program as
assistive technology does: Xvfb on a free display, the accessibility bus and
the program with its bridge switched on, all inside the session bus of the
caller (dbus-run-session). Keys go through the X server with xdotool;
AccessibleProgram finds the program's windows and controls over the bus."""

import os
import shutil
import subprocess
import tempfile
import time

STEP_TIMEOUT = 15.0


class JourneyFailed(Exception):
    pass


def run(*command, check=True):
    result = subprocess.run(command, capture_output=True, text=True, timeout=20)
    if check and result.returncode != 0:
        raise JourneyFailed(f'{" ".join(command)}: {result.stderr.strip()}')
    return result.stdout.strip()


class DesktopSession:
    def __init__(self, prefix):
        if 'DBUS_SESSION_BUS_ADDRESS' not in os.environ:
            raise JourneyFailed('no session bus: run under dbus-run-session')
        for variable in ('QT_QPA_PLATFORM', 'WAYLAND_DISPLAY', 'XAUTHORITY'):
            os.environ.pop(variable, None)
        self.work = tempfile.mkdtemp(prefix=prefix)
        self.children = []
        self.program = None

    def __enter__(self):
        try:
            self.children.append(self._start_xvfb())
            self.start('/usr/libexec/at-spi-bus-launcher', '--launch-immediately')
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for child in reversed(self.children):
            if child.poll() is None:
                child.terminate()
                try:
                    child.wait(5)
                except subprocess.TimeoutExpired:
                    child.kill()
        shutil.rmtree(self.work, ignore_errors=True)
        return False

    def _start_xvfb(self):
        reader, writer = os.pipe()
        xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(writer), '-screen', '0', '1280x1024x24',
                                 '-nolisten', 'tcp', '-noreset'], pass_fds=[writer],
                                stdout=subprocess.DEVNULL, stderr=open(f'{self.work}/xvfb.log', 'w'))
        os.close(writer)
        number = b''
        while not number.endswith(b'\n'):
            chunk = os.read(reader, 16)
            if not chunk:
                raise JourneyFailed('Xvfb gave no display number')
            number += chunk
        os.close(reader)
        os.environ['DISPLAY'] = ':' + number.decode().strip()
        if subprocess.run(['xdotool', 'getmouselocation'], capture_output=True).returncode != 0:
            xvfb.terminate()
            raise JourneyFailed(f'cannot reach Xvfb on {os.environ["DISPLAY"]}: '
                                + open(f'{self.work}/xvfb.log').read())
        return xvfb

    def home(self, name):
        """A fresh HOME with its runtime directory, as environment variables."""
        home = f'{self.work}/{name}'
        os.makedirs(f'{home}/runtime', mode=0o700)
        return {'HOME': home, 'XDG_RUNTIME_DIR': f'{home}/runtime', 'XDG_CONFIG_HOME': f'{home}/config',
                'XDG_DATA_HOME': f'{home}/data', 'XDG_CACHE_HOME': f'{home}/cache'}

    def start(self, *command, env=None, log=None):
        output = open(f'{self.work}/{log}', 'w') if log else subprocess.DEVNULL
        child = subprocess.Popen(command, env=env, stdout=output, stderr=subprocess.STDOUT)
        self.children.append(child)
        return child

    def start_program(self, path, **extra_env):
        env = dict(os.environ, **self.home('program'), QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
                   LANG='C.UTF-8', **extra_env)
        self.program = self.start(path, env=env, log='program.log')
        return self.program

    def program_output(self):
        return open(f'{self.work}/program.log').read()

    def focus_window(self, caption):
        """Gives the program's window of that caption the keyboard, as a window
        manager would; False while there is none."""
        ids = run('xdotool', 'search', '--onlyvisible', '--pid', str(self.program.pid), check=False)
        for window_id in ids.split():
            title = run('xdotool', 'getwindowname', window_id, check=False)
            if title == caption or title.startswith(caption + ' — '):
                run('xdotool', 'windowfocus', '--sync', window_id)
                return True
        return False

    @staticmethod
    def keys(*keys, pause=0.05):
        for key in keys:
            run('xdotool', 'key', key)
            time.sleep(pause)


class AccessibleProgram:
    """The program (self.process) seen over the accessibility bus, in the
    window self.frame. pyatspi is imported only here, as it needs the bus."""

    def __init__(self, session):
        import pyatspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.context = GLib.MainContext.default()
        self.session = session
        self.process = session.program
        self.frame = None

    def pump(self):
        while self.context.iteration(False):
            pass

    def failure_details(self):
        """Told after the timeout when a wait fails, before the window's tree."""
        return ''

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
                raise JourneyFailed(f'{what}: not within {timeout:.0f} s{self.failure_details()}'
                                    f'\n{self.describe_window()}')
            time.sleep(0.05)

    def window(self, caption):
        """The program's showing frame named `caption`."""
        for app in self.pyatspi.Registry.getDesktop(0):
            if app is None or app.get_process_id() != self.process.pid:
                continue
            for frame in app:
                if frame is None:
                    continue
                frame.clearCache()
                if frame.name == caption and frame.getRole() == self.pyatspi.ROLE_FRAME \
                        and self.showing(frame):
                    return frame
        return None

    def walk_tree(self, node):
        node.clearCache()
        yield node
        for child in node:
            if child is not None:
                yield from self.walk_tree(child)

    def showing(self, node):
        return node.getState().contains(self.pyatspi.STATE_SHOWING)

    def control(self, name, role=None):
        """The showing control of that name in the current window."""
        return next((node for node in self.walk_tree(self.frame) if node.name == name
                     and (role is None or node.getRoleName() == role) and self.showing(node)), None)

    def focus(self):
        """The control of the current window that has the focus."""
        if self.frame is None:
            return None
        return next((node for node in self.walk_tree(self.frame)
                     if node.getState().contains(self.pyatspi.STATE_FOCUSED)), None)

    def describe(self, node):
        return f'{node.getRoleName()} "{node.name}"'

    def describe_window(self):
        try:
            return '\n'.join(f'  {self.describe(node)}{" showing" if self.showing(node) else ""}'
                             for node in self.walk_tree(self.frame))
        except Exception:
            return ''

    def open_window(self, caption, name=None):
        """Waits for the frame named `name` (by default the caption) and gives
        the X window of that caption the keyboard, as a window manager would."""
        name = name or caption
        self.frame = self.wait(f'window "{name}" as a frame', lambda: self.window(name))
        if not self.session.focus_window(caption):
            raise JourneyFailed(f'no X window captioned "{caption}"')

    def expect_showing(self, name, role=None):
        return self.wait(f'"{name}" showing', lambda: self.control(name, role))

    def expect_focus(self, name, role):
        self.wait(f'focus on {role} "{name}"', lambda: (lambda node: node and node.name == name
                                                          and node.getRoleName() == role)(self.focus()))

    def expect_end(self):
        """The program ends with status 0 within 10 s (after 終)."""
        try:
            status = self.process.wait(10)
        except subprocess.TimeoutExpired:
            raise JourneyFailed('the program still runs 10 s after 終')
        if status != 0:
            raise JourneyFailed(f'the program ended with status {status}')
