"""The game in a page, in a real headless Chromium: what it plays, records,
shows to a screen reader and sounds."""

import os
import random
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

from page_in_chromium import PageInChromium, replayed_trace

CORPUS = os.environ.get('GULPO_CORPUS', '')

# After Start: down, up and right walk Gulpo into a ghost about 6.7 s in,
# whichever way each key falls within 0.4 s; the player then turns during
# the lost life's pause.
LOST_LIFE_PLAN = [(2508, Keys.ARROW_DOWN), (3898, Keys.ARROW_UP), (4616, Keys.ARROW_RIGHT),
                  (7500, Keys.ARROW_LEFT)]


def random_session(seed, length_ms):
    """Arrows every 100 to 1000 ms, and Enter now and then to start again."""
    dice = random.Random(seed)
    lines = ['0 click start']
    t = 2100
    while t < length_ms:
        lines.append('%d key %d' % (t, 13 if dice.randrange(10) == 0 else 37 + dice.randrange(4)))
        t += 100 + dice.randrange(900)
    return '\n'.join(lines + ['%d end' % length_ms]) + '\n'


class PageTest(unittest.TestCase):
    def setUp(self):
        self.page = PageInChromium()
        self.addCleanup(self.page.close)

    def keys(self, *keys):
        chain = ActionChains(self.page.driver)
        for key in keys:
            chain.send_keys(key)
        chain.perform()

    def started(self):
        """Presses Enter on Start and waits for the first tick after the
        pause."""
        self.keys(Keys.ENTER)
        self.page.until(lambda: '"ev":"tick"' in self.page.js('return window.gulpo.trace()'),
                        'the first tick')

    def alt(self, letter):
        ActionChains(self.page.driver).key_down(Keys.ALT).send_keys(letter).key_up(
            Keys.ALT).perform()


class WatchedFlatOut(PageTest):
    def test_gives_the_replay_tools_trace_byte_for_byte(self):
        scripts = {'random.txt': random_session(7, 180000)}
        for name in ('steer.txt', 'gameover.txt', 'injections.txt', 'buttons.txt',
                     'bom-crlf.txt', 'cr-ends.txt'):
            with open(os.path.join(CORPUS, name), newline='') as f:
                scripts[name] = f.read()
        for name, text in scripts.items():
            with self.subTest(script=name):
                trace = self.page.watched_to_the_end(self.page.add_script(name, text))
                self.assertGreater(trace.count('\n'), 1)
                self.assertEqual(trace, replayed_trace(text))

    def test_a_bad_script_is_one_line_on_the_page_and_the_game_goes_on(self):
        self.page.open()
        before = self.page.js('return window.gulpo.trace().length')
        self.page.driver.find_element('id', 'watch-file').send_keys(
            os.path.join(CORPUS, 'bad-verb.txt'))
        self.page.until(lambda: self.page.js(
            "return document.getElementById('message').textContent"), 'the message')
        self.assertEqual(
            self.page.js("return document.getElementById('message').textContent"),
            "bad-verb.txt:1: unknown verb 'jump' (expected key, alt, click, closewin, set, place, "
            "food, big or end)")
        self.page.driver.find_element('id', 'frmGulpo-cmdStart').click()
        self.page.until(lambda: self.page.js('return window.gulpo.trace().length') > before,
                        'the game to go on')
        self.assertTrue(self.page.js('return window.gulpo.recording()').endswith(
            ' click start\n'))


class PlayedWithRealKeys(PageTest):
    def test_records_a_game_the_replay_tool_plays_to_the_pages_trace(self):
        self.page.open()
        self.alt('a')
        self.alt('c')
        # Tab to About and Enter opens it again; Alt+S starts the game from
        # it, and the arrows must steer.
        self.keys(Keys.TAB, Keys.TAB, Keys.ENTER)
        started = time.monotonic()
        self.alt('s')
        for at, key in LOST_LIFE_PLAN:
            time.sleep(max(0, started + at / 1000 - time.monotonic()))
            self.keys(key)
        time.sleep(1)
        self.page.driver.find_element('id', 'end').click()
        self.page.until(lambda: self.page.js('return window.gulpo.ended()'), 'the close')
        recording = self.page.js('return window.gulpo.recording()')
        trace = self.page.js('return window.gulpo.trace()')
        verbs = [line.split()[1:] for line in recording.splitlines()[1:]]
        self.assertEqual(verbs[:6], [['alt', 'A'], ['alt', 'C'], ['key', '9'], ['key', '9'],
                                     ['key', '13'], ['alt', 'S']])
        self.assertEqual(verbs[-1], ['closewin', 'main'])
        self.assertIn('"Lives":2', trace)
        self.assertEqual(replayed_trace(recording), trace)


class ScreenReader(PageTest):
    def tree(self):
        """What Chromium's accessibility tree holds of the game's windows:
        (role, name, text) of each window and of every status and button in
        them that a screen reader would find, in order."""
        nodes = self.page.driver.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
        by_id = {n['nodeId']: n for n in nodes}

        def role(node):
            return node.get('role', {}).get('value')

        def text(node):
            if role(node) == 'StaticText':
                return node.get('name', {}).get('value', '')
            return ''.join(text(by_id[c]) for c in node.get('childIds', []) if c in by_id)

        found = []

        def walk(node, in_window):
            in_window = in_window or role(node) in ('application', 'dialog')
            if in_window and not node.get('ignored') and role(node) in (
                    'application', 'dialog', 'status', 'button'):
                found.append((role(node), node.get('name', {}).get('value', ''), text(node)))
            for child in node.get('childIds', []):
                if child in by_id:
                    walk(by_id[child], in_window)

        walk(nodes[0], False)
        return found

    def test_reads_the_windows_labels_and_buttons_and_hears_the_score(self):
        self.page.open()
        self.alt('a')
        self.page.until(lambda: ('dialog', 'About Gulpo', 'Gulpo' "Programmed By Gulpo's team"
                                 'Instructions: Use arrow keys to move Gulpo. Collect food while '
                                 'avoiding the ghosts. Eat the big food to make the ghosts '
                                 'edible. As you reach higher levels, new fruits become '
                                 'available.Close') in self.tree(), 'the About window')
        tree = self.tree()
        self.assertIn(('status', 'Lives:', '3'), tree)
        for name in ('Start', 'About', 'Close'):
            self.assertIn(('button', name, name), tree)
        self.alt('c')
        self.keys(Keys.TAB)
        self.started()
        self.keys(Keys.ARROW_LEFT)
        self.page.until(lambda: ('status', 'Score', '100') in self.tree(), 'the first dot')
        self.assertIn(('status', 'Level:', '1'), self.tree())
        self.assertNotIn('button', [role for role, _, _ in self.tree()])


class DotSound(PageTest):
    def test_each_dot_sounds_within_50_ms_of_it_or_not_at_all(self):
        self.page.open()
        self.started()
        self.keys(Keys.ARROW_LEFT)
        self.page.until(lambda: len(self.page.js('return window.gulpo.sounds()')) >= 1,
                        'the first dot')
        self.keys(Keys.ARROW_UP)
        self.page.until(lambda: len(self.page.js('return window.gulpo.sounds()')) >= 4,
                        'four dots')
        sounds = self.page.js('return window.gulpo.sounds()')
        heard = [s for s in sounds if s['start'] is not None]
        self.assertTrue(heard, sounds)
        for s in heard:
            self.assertLessEqual(s['start'] - s['dot'], 50, sounds)


if __name__ == '__main__':
    unittest.main()
