#!/usr/bin/python3
"""A long console run left alone, and paused from its terminal: it holds a logind inhibitor (sleep
and idle) from its start to its end however it ends, Ctrl+Z stops its encoders with it, and fg
finishes the run with the outputs of an uninterrupted one. Logind is python-dbusmock's stand-in on
a private system bus. Usage: left-alone.py PROGRAM_DIR"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

import dbusmock

PROGRAM_DIR = os.path.abspath(sys.argv.pop(1))
HELD = ('sleep:idle', 'Korumi', '動画を変換しています', 'block')


def processes():
    """Every process's parent and run state (R, S, T for stopped, Z for ended)."""
    found = {}
    for entry in os.listdir('/proc'):
        try:
            with open(f'/proc/{entry}/stat') as stat:
                fields = stat.read().rsplit(')', 1)[1].split()
            found[int(entry)] = (int(fields[1]), fields[0])
        except (ValueError, OSError):
            continue
    return found


def descendants(pid):
    everyone, found, queue = processes(), {}, [pid]
    while queue:
        parent = queue.pop()
        for child, (ppid, state) in everyone.items():
            if ppid == parent:
                found[child] = state
                queue.append(child)
    return found


def streams(path):
    return subprocess.run(['ffprobe', '-v', 'error', '-show_entries', 'stream=codec_name,nb_frames,duration',
                           '-of', 'csv', path], check=True, capture_output=True, text=True).stdout


def audio_packets(path):
    return subprocess.run(['ffmpeg', '-v', 'error', '-nostdin', '-i', path, '-map', '0:a', '-c', 'copy',
                           '-f', 'md5', '-'], check=True, capture_output=True, text=True).stdout


def worst_picture_psnr(path, reference, stats):
    """The lowest PSNR of a picture of `path` against the same picture of `reference`."""
    subprocess.run(['ffmpeg', '-v', 'error', '-nostdin', '-i', path, '-i', reference, '-lavfi',
                    f'[0:v][1:v]psnr=stats_file={stats}', '-f', 'null', '-'], check=True)
    with open(stats) as lines:
        return min(float(field.split(':')[1]) for line in lines for field in line.split()
                   if field.startswith('psnr_avg:'))


def settle(predicate, what):
    """Waits, bounded, for a state that no event announces (a process's run state)."""
    for _ in range(600):
        if predicate():
            return
        subprocess.run(['sleep', '0.05'], check=True)
    raise AssertionError(f'never came: {what}')


class LeftAlone(dbusmock.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        cls.start_system_bus()
        cls.logind, cls.manager = cls.spawn_server_template('logind', {}, stdout=subprocess.DEVNULL)
        cls.work = tempfile.mkdtemp()
        for name in ('korumi', 'profile.txt'):
            shutil.copy(os.path.join(PROGRAM_DIR, name), cls.work)
        os.symlink(os.path.join(PROGRAM_DIR, 'ffmpeg.exe'), os.path.join(cls.work, 'ffmpeg.exe'))
        # A source that decodes the same every time (ffv1), so that two encodes of it are alike.
        cls.clip = os.path.join(cls.work, 'long.mkv')
        subprocess.run(['ffmpeg', '-nostdin', '-v', 'error', '-f', 'lavfi', '-i',
                        'testsrc2=size=640x360:rate=25:duration=20', '-f', 'lavfi', '-i',
                        'sine=duration=20', '-c:v', 'ffv1', cls.clip], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.logind.terminate()
        cls.logind.wait()
        shutil.rmtree(cls.work)
        super().tearDownClass()

    def inhibitors(self):
        return [tuple(str(part) for part in lock[:4])
                for lock in self.manager.ListInhibitors(dbus_interface='org.freedesktop.login1.Manager')]

    def convert_into(self, output):
        with open(os.path.join(self.work, 'Korumi.ini'), 'w') as ini:
            ini.write(f'[SET2]\nC11={output}\n')
        os.makedirs(output)

    def start(self, output):
        """Starts a conversion into `output` and returns it once it is stopped mid-encode, as
        Ctrl+Z stops it, with the encoder processes it had."""
        self.convert_into(output)
        watch = subprocess.Popen(['inotifywait', '-q', '-t', '120', '-e', 'modify', '--include',
                                  'korumi-tmp', output], stdout=subprocess.DEVNULL)
        # A job of its own, as a shell makes it: the kernel ignores Ctrl+Z in a group that no
        # process of its session outside it can continue (an orphaned group, as under ctest).
        run = subprocess.Popen([os.path.join(self.work, 'korumi'), '--convert', self.clip], process_group=0,
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.assertEqual(watch.wait(), 0, 'the encoder never wrote')
        encoders = descendants(run.pid)
        self.assertTrue(encoders)
        os.killpg(run.pid, signal.SIGTSTP)
        _, status = os.waitpid(run.pid, os.WUNTRACED)
        self.assertTrue(os.WIFSTOPPED(status))
        settle(lambda: all(state == 'T' for state in descendants(run.pid).values()),
               'every encoder stopped with Korumi')
        self.assertEqual(self.inhibitors(), [HELD])
        return run, encoders

    def finish(self, run):
        run.send_signal(signal.SIGCONT)
        output, _ = run.communicate()
        return run.returncode, output.decode()

    def test_ctrl_z_pauses_everything_and_fg_finishes_the_same(self):
        reference = os.path.join(self.work, 'reference')
        self.convert_into(reference)
        reference_run = subprocess.run([os.path.join(self.work, 'korumi'), '--convert', self.clip],
                                       stdin=subprocess.DEVNULL, capture_output=True, text=True)
        self.assertEqual(reference_run.returncode, 0, reference_run.stdout + reference_run.stderr)

        run, _ = self.start(os.path.join(self.work, 'paused'))
        status, output = self.finish(run)
        self.assertEqual(status, 0, output)
        # x264's threaded lookahead makes two encodes of one source differ a little now and then,
        # paused or not: the same streams and audio, and every picture where it was.
        paused, unpaused = os.path.join(self.work, 'paused', 'long.mp4'), os.path.join(reference, 'long.mp4')
        self.assertEqual(streams(paused), streams(unpaused))
        self.assertEqual(audio_packets(paused), audio_packets(unpaused))
        self.assertGreater(worst_picture_psnr(paused, unpaused, os.path.join(self.work, 'psnr')), 40)
        self.assertEqual(self.inhibitors(), [])

    def test_the_lock_goes_with_ctrl_c_and_with_a_killed_korumi(self):
        run, _ = self.start(os.path.join(self.work, 'interrupted'))
        run.send_signal(signal.SIGINT)
        status, output = self.finish(run)
        self.assertEqual(status, 128 + signal.SIGINT, output)
        self.assertEqual(self.inhibitors(), [])
        self.assertEqual(os.listdir(os.path.join(self.work, 'interrupted')), [])

        run, encoders = self.start(os.path.join(self.work, 'killed'))
        run.kill()
        run.communicate()
        self.assertEqual(self.inhibitors(), [])
        settle(lambda: all(processes().get(pid, (0, 'Z'))[1] == 'Z' for pid in encoders),
               'the encoders gone with Korumi')


if __name__ == '__main__':
    unittest.main()
