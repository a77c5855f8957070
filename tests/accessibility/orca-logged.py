"""Runs Orca with its debug log written line by line: Orca never flushes that
file, so a reader would otherwise see nothing until Orca ends.

usage: python3 orca-logged.py LOGFILE [orca options]"""

import builtins
import runpy
import sys

log = sys.argv[1]
real_open = builtins.open


def open_line_buffered(file, mode='r', *args, **kwargs):
    if file == log and 'w' in mode:
        return real_open(file, mode, buffering=1, encoding='utf-8')
    return real_open(file, mode, *args, **kwargs)


builtins.open = open_line_buffered
sys.argv = ['orca', '--debug-file', log] + sys.argv[2:]
runpy.run_path('/usr/bin/orca', run_name='__main__')
