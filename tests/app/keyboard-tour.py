"""Uses Korumi's windows with the keyboard alone, as a user without a mouse does, and follows the
focus through AT-SPI. Argument: Korumi's pid. Prints each failure; exit status 1 when there is one."""
import subprocess
import sys
import time

import pyatspi
from atspi_windows import BUTTONS, frame, wait_for
from gi.repository import GLib

PID = int(sys.argv[1])
BIT_RATE = ('spin button', '動画ﾋﾞｯﾄﾚｰﾄ(kbps)')

# What took the focus, as the focus events tell it: an item's list keeps its current item's
# state "focused", so the tree itself cannot say where the focus is.
gained = []
pyatspi.Registry.registerEventListener(lambda event: event.detail1 and gained.append(event.source),
                                       'object:state-changed:focused')


def next_focus():
    """The control that takes the focus next, once its event has come."""
    for _ in range(3000):
        if gained:
            return gained.pop(0)
        GLib.MainContext.default().iteration(False)
        time.sleep(0.01)
    sys.exit('never came: the focus')


def key(*names):
    subprocess.run(['xdotool', 'key', '--clearmodifiers'] + list(names), check=True)


def control_of(source):
    """The control a focus event is about: a list for its item, whose focus comes with its own."""
    return source.parent if source.getRoleName() == 'list item' else source


def tab_to(wanted):
    """Presses Tab until `wanted` ((role, name)) has the focus; what had it on the way."""
    seen = []
    for _ in range(40):
        key('Tab')
        control = control_of(next_focus())
        while seen and (control.getRoleName(), control.name) == seen[-1]:  # the same control again
            control = control_of(next_focus())
        seen.append((control.getRoleName(), control.name))
        if seen[-1] == wanted:
            return control, seen
    return None, seen


failures = []
wait_for(lambda: frame(PID, 'Korumi'), 'the main window')
# Once round the window: every button is reached.
_, tour = tab_to(('no such', 'control'))
missed = set(BUTTONS) - {name for role, name in tour if role == 'push button'}
failures += ['Tab never reaches the button %r' % name for name in sorted(missed)]

# A digit bar takes the keys of a spin box.
bar, _ = tab_to(BIT_RATE)
if bar is None:
    failures.append('Tab never reaches the video bit rate')
else:
    for keys, wanted in ((['End'], 5000), (['Home'], 512), (list('3000'), 3000), (['Prior'], 3010)):
        key(*keys)
        value = wait_for(lambda: int(bar.queryValue().currentValue) == wanted or None, 'the value %d' % wanted)
        if not value:
            failures.append('%s did not give %d' % ('+'.join(keys), wanted))

# A run started and its file cancelled, by keys alone.
tab_to(('push button', '[ 変換開始 ]'))
key('space')
progress = wait_for(lambda: frame(PID, '変換の進み具合'), 'the progress window')
cancel, _ = tab_to(('push button', 'このファイルの変換を中止'))
if cancel is None:
    failures.append('Tab never reaches the progress window\'s cancel button')
key('space')
wait_for(lambda: frame(PID, '変換の進み具合') is None, 'the end of the run')
print('\n'.join(failures + ['%d failed' % len(failures)]))
sys.exit(1 if failures else 0)
