"""Reads Korumi's windows through AT-SPI as a screen reader does. Arguments: Korumi's pid, the
file its list shows and its output folder. Prints each failure; exit status 1 when there is one."""
import sys

import pyatspi
from atspi_windows import BUTTONS, frame, wait_for

PID, FILE, OUTPUT = int(sys.argv[1]), sys.argv[2], sys.argv[3]
# (role, name): what its value reads as, from the settings the shell test wrote.
EXPECTED = {('spin button', '動画ﾌﾚｰﾑﾚｰﾄ(fps)'): 28, ('spin button', '動画ﾋﾞｯﾄﾚｰﾄ(kbps)'): 1200,
            ('spin button', '音声ﾋﾞｯﾄﾚｰﾄ(kbps)'): 96, ('slider', '音声ｻﾝﾌﾟﾙﾚｰﾄ(Hz)'): (22050, '22050Hz'),
            ('slider', 'ｻｲｽﾞ'): (1280, '1280x720'), ('text', '保存先'): OUTPUT, ('list', '変換対象ファイル'): FILE,
            ('combo box', 'テレビ標準画質(720x480・H.264)'): 'おまかせ-'}
EXPECTED.update({('push button', name): None for name in BUTTONS})
READERS = {'spin button': lambda c: int(c.queryValue().currentValue),
           'slider': lambda c: (int(c.queryValue().currentValue), c.description),
           'text': lambda c: c.queryText().getText(0, -1), 'list': lambda c: ','.join(i.name for i in c),
           'combo box': lambda c: [r.getTarget(0).name for r in c.getRelationSet()][0],
           'progress bar': lambda c: c.description}
# Roles of what a user works; none of them may be in the tree unseen.
CONTROLS = {'push button', 'spin button', 'slider', 'text', 'list', 'combo box', 'check box', 'progress bar'}


def descendants(parent):
    """Everything beneath `parent`, but what a combo box drops down, which shows when it does."""
    for child in parent:
        yield child
        if child.getRoleName() != 'combo box':
            yield from descendants(child)


def read(window):
    """The window's controls by (role, name), and the failures of how they read."""
    everything = [c for c in descendants(window) if c.getRoleName() in CONTROLS]
    shown = [c for c in everything if c.getState().contains(pyatspi.STATE_SHOWING)]
    failures = ['a %s %r in the tree, never shown' % (c.getRoleName(), c.name) for c in everything if c not in shown]
    failures += ['a %s without a name' % c.getRoleName() for c in shown if not c.name]
    failures += ['%s %r: a description that starts with a blank' % (c.getRoleName(), c.name)
                 for c in shown if c.description[:1].isspace()]
    return {(c.getRoleName(), c.name): c for c in shown}, failures


def check(controls, expected):
    value = {key: READERS.get(key[0], lambda c: None)(control) for key, control in controls.items()}
    return ['no %s %s' % key if key not in value else '%s %s reads %r, not %r' % (key + (value[key], wanted))
            for key, wanted in expected.items() if value.get(key, 'nothing') != wanted]


main = wait_for(lambda: frame(PID, 'Korumi'), 'the main window')
controls, failures = read(main)
failures += check(controls, EXPECTED)

# A run, started as assistive technology presses a button: its window reads as well.
controls[('push button', '[ 変換開始 ]')].queryAction().doAction(0)
progress = wait_for(lambda: frame(PID, '変換の進み具合'), 'the progress window')
bar = wait_for(lambda: next((c for c in descendants(progress) if c.getRoleName() == 'progress bar'
                             and c.description not in ('', '0 %')), None), 'a progress bar that moves')
run_controls, run_failures = read(progress)
failures += run_failures
failures += check(run_controls, {('push button', 'このファイルの変換を中止'): None,
                                 ('progress bar', '全体の進み具合'): bar.description})
if not bar.description.endswith(' %'):
    failures.append('the progress bar reads %r, not a percentage' % bar.description)
actions = bar.queryAction().nActions if 'Action' in pyatspi.listInterfaces(bar) else 0
if actions:
    failures.append('the progress bar can be acted on: %d actions' % actions)
run_controls[('push button', 'このファイルの変換を中止')].queryAction().doAction(0)
wait_for(lambda: frame(PID, '変換の進み具合') is None, 'the end of the run')

# The skinned "Del" button pressed through its action, as assistive technology presses it.
if ('push button', 'Del') in controls:
    wait_for(lambda: controls[('push button', 'Del')].getState().contains(pyatspi.STATE_ENABLED), 'Del enabled')
    controls[('push button', 'Del')].queryAction().doAction(0)
    wait_for(lambda: controls[('list', '変換対象ファイル')].childCount == 0, 'an empty list after Del')
print('\n'.join(failures + ['%d failed' % len(failures)]))
sys.exit(1 if failures else 0)
