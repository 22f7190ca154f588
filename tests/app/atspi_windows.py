"""What the AT-SPI tests share: waiting for what comes, and finding Korumi's windows."""
import sys
import time

import pyatspi

# Every button of the main window, by the name a screen reader reads.
BUTTONS = ['情報ページを開く', 'ユーザーズガイド', '最小化', '閉じる', 'Del', '[ 変換開始 ]', '[ 変換後 iTunes登録 ]',
           'フォルダを選ぶ']


def wait_for(found, what):
    for _ in range(600):
        if found():
            return found()
        time.sleep(0.1)
    sys.exit('never came: ' + what)


def frame(pid, name):
    return next((w for app in pyatspi.Registry.getDesktop(0) if app and app.get_process_id() == pid
                 for w in app if w.getRoleName() == 'frame' and w.name == name), None)
