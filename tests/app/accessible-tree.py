"""Reads Korumi's main window through AT-SPI as a screen reader does. Arguments: Korumi's pid, the
file its list shows and its output folder. Prints each failure; exit status 1 when there is one."""
import sys
import time

import pyatspi

PID, FILE, OUTPUT = int(sys.argv[1]), sys.argv[2], sys.argv[3]
# (role, name): what its value reads as, from the settings the shell test wrote.
EXPECTED = {('spin button', '動画ﾌﾚｰﾑﾚｰﾄ(fps)'): 28, ('spin button', '動画ﾋﾞｯﾄﾚｰﾄ(kbps)'): 1200,
            ('spin button', '音声ﾋﾞｯﾄﾚｰﾄ(kbps)'): 96, ('slider', '音声ｻﾝﾌﾟﾙﾚｰﾄ(Hz)'): '22050Hz',
            ('slider', 'ｻｲｽﾞ'): '1280x720', ('text', '保存先'): OUTPUT, ('list', '変換対象ファイル'): FILE,
            ('combo box', 'テレビ標準画質(720x480・H.264)'): 'おまかせ-'}
EXPECTED.update({('push button', name): None for name in
                 ['info.', '?', '_', '×', 'Del', '[ 変換開始 ]', '[ 変換後 iTunes登録 ]', 'フォルダを選ぶ']})
READERS = {'spin button': lambda c: int(c.queryValue().currentValue), 'slider': lambda c: c.description,
           'text': lambda c: c.queryText().getText(0, -1), 'list': lambda c: ','.join(i.name for i in c),
           'combo box': lambda c: [r.getTarget(0).name for r in c.getRelationSet()][0]}


def wait_for(found, what):
    for _ in range(300):
        if found():
            return found()
        time.sleep(0.1)
    sys.exit('never came: ' + what)


def showing(parent):
    for child in parent:
        if child.getState().contains(pyatspi.STATE_SHOWING):
            yield child
            yield from showing(child)


window = wait_for(lambda: next((w for app in pyatspi.Registry.getDesktop(0) if app and app.get_process_id() == PID
                                for w in app if w.getRoleName() == 'frame' and w.name == 'Korumi'), None), 'window')
controls = {(c.getRoleName(), c.name): c for c in showing(window) if c.getRoleName() not in ('label', 'panel', 'filler')}
value = {key: READERS.get(key[0], lambda c: None)(control) for key, control in controls.items()}
failures = ['a %s without a name' % role for role, name in controls if not name]
failures += ['no %s %s' % key if key not in value else '%s %s reads %r, not %r' % (key + (value[key], wanted))
             for key, wanted in EXPECTED.items() if value.get(key, 'nothing') != wanted]
# The skinned "Del" button pressed through its action, as assistive technology presses it.
if ('push button', 'Del') in controls:
    controls[('push button', 'Del')].queryAction().doAction(0)
    wait_for(lambda: controls[('list', '変換対象ファイル')].childCount == 0, 'an empty list after Del')
print('\n'.join(failures + ['%d failed' % len(failures)]))
sys.exit(1 if failures else 0)
