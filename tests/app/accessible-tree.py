"""Reads Korumi's main window through AT-SPI, as a screen reader does, and checks what it says.

Arguments: the pid of a Korumi whose window lists FILE, with the settings the shell test wrote.
Exit status 0 when every check passed, 1 otherwise; each failure is printed.
"""
import sys
import time

import pyatspi

CONTROL_ROLES = {'push button', 'spin button', 'slider', 'combo box', 'check box', 'text', 'list',
                 'list item', 'progress bar'}

# (role, name): what the control's value reads as.
EXPECTED = {
    ('spin button', '動画ﾌﾚｰﾑﾚｰﾄ(fps)'): 28,
    ('spin button', '動画ﾋﾞｯﾄﾚｰﾄ(kbps)'): 1200,
    ('spin button', '音声ﾋﾞｯﾄﾚｰﾄ(kbps)'): 96,
    ('slider', '音声ｻﾝﾌﾟﾙﾚｰﾄ(Hz)'): '22050Hz',
    ('slider', 'ｻｲｽﾞ'): '1280x720',
    ('check box', '2パスエンコード(変換時間2倍)'): 'checked',
    ('text', '保存先'): sys.argv[3],
    ('list', '変換対象ファイル'): sys.argv[2],
    ('combo box', 'テレビ標準画質(720x480・H.264)'): 'おまかせ-',
}
BUTTONS = ['info.', '?', '_', '×', 'Del', '[ 変換開始 ]', '[ 変換後 iTunes登録 ]', 'フォルダを選ぶ']


def wait_for(condition, what):
    for _ in range(300):
        found = condition()
        if found:
            return found
        time.sleep(0.1)
    sys.exit('never came: ' + what)


def main_window(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return next((w for w in app if w.getRoleName() == 'frame' and w.name == 'Korumi'), None)
    return None


def showing(accessible):
    for child in accessible:
        if child.getState().contains(pyatspi.STATE_SHOWING):
            yield child
            yield from showing(child)


def value_of(control):
    role = control.getRoleName()
    if role == 'spin button':
        return int(control.queryValue().currentValue)
    if role == 'slider':
        return control.description
    if role == 'check box':
        return 'checked' if control.getState().contains(pyatspi.STATE_CHECKED) else 'unchecked'
    if role == 'text':
        return control.queryText().getText(0, -1)
    if role == 'list':
        return ','.join(item.name for item in control)
    if role == 'combo box':
        labels = [r.getTarget(0).name for r in control.getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        return labels[0] if labels else None
    return None


window = wait_for(lambda: main_window(int(sys.argv[1])), 'the main window in the accessible tree')
controls = {(c.getRoleName(), c.name): c for c in showing(window) if c.getRoleName() in CONTROL_ROLES}
failures = ['a %s without a name' % role for role, name in controls if not name]
for key, wanted in EXPECTED.items():
    if key not in controls:
        failures.append('no %s %s' % key)
    elif value_of(controls[key]) != wanted:
        failures.append('%s %s reads %r, not %r' % (key + (value_of(controls[key]), wanted)))
failures += ['no push button ' + name for name in BUTTONS if ('push button', name) not in controls]
failures += ['the hidden %s %s is shown' % key for key in controls if key[1] in ('変換', 'LIBX264')]

# The skinned "Del" button is pressed through its action, as assistive technology presses it.
delete = controls.get(('push button', 'Del'))
if delete is not None:
    delete.queryAction().doAction(0)
    wait_for(lambda: controls[('list', '変換対象ファイル')].childCount == 0, 'an empty list after Del')

for failure in failures:
    print(failure)
print('%d failed' % len(failures))
sys.exit(1 if failures else 0)
