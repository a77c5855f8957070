"""A private desktop for the journeys that follow the real program as
assistive technology does: Xvfb on a free display, the accessibility bus and
the program with its bridge switched on, all inside the session bus of the
caller (dbus-run-session). Keys go through the X server with xdotool."""

import os
import shutil
import subprocess
import tempfile
import time


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
