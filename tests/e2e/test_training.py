"""The real program under Wine: a PLL training session made in the options window with
only the T-perm ticked in its Cases list logs scrambles that leave, on a cube of the
test's own, the first two layers solved and a T-perm on top, turned any way."""
import time
import unittest

from harness import App, wait_until, xdotool

SETTINGS = ("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nLast Frame=Result\r\n"
            "Show Scramble=Enabled\r\n")
SCRAMBLE_READY_S = 3
# The PLL cases in the list's order, and the session box's events before PLL: the WCA
# events as the list shows them, then Last layer.
PLL_CASES = ["Aa", "Ab", "E", "F", "Ga", "Gb", "Gc", "Gd", "H", "Ja", "Jb", "Na", "Nb", "Ra", "Rb", "T", "Ua",
             "Ub", "V", "Y", "Z"]
EVENTS_AFTER_PLL = 9  # OLL, ZBLL, ..., Corners only
T_PERM = "R U R' U' R' F R2 U' R' U' R U R' F'"

# ---- A cube of stickers, each a place and the way it faces, x to R, y to U, z to F.
AXES = {"U": (0, 1, 0), "D": (0, -1, 0), "R": (1, 0, 0), "L": (-1, 0, 0), "F": (0, 0, 1), "B": (0, 0, -1)}


def solved():
    cube = {}
    for face, normal in AXES.items():
        for a in (-1, 0, 1):
            for b in (-1, 0, 1):
                place = tuple(n if n else (a if i == [j for j, m in enumerate(normal) if m == 0][0] else b)
                              for i, n in enumerate(normal))
                cube[(place, normal)] = face
    return cube


def quarter(v, axis):
    # A clockwise quarter turn seen from the face: v' = -(axis x v) + axis (axis . v).
    ax, ay, az = axis
    x, y, z = v
    cross = (ay * z - az * y, az * x - ax * z, ax * y - ay * x)
    dot = ax * x + ay * y + az * z
    return tuple(-c + a * dot for c, a in zip(cross, axis))


def turned(cube, move):
    face, turns = move[0], {"": 1, "2": 2, "'": 3}[move[1:]]
    axis = AXES[face]
    for _ in range(turns):
        moved = {}
        for (place, normal), colour in cube.items():
            if sum(p * a for p, a in zip(place, axis)) == 1:
                place, normal = quarter(place, axis), quarter(normal, axis)
            moved[(place, normal)] = colour
        cube = moved
    return cube


def after(moves, cube=None):
    cube = dict(cube or solved())
    for move in moves.split():
        cube = turned(cube, move)
    return cube


def is_t_perm_with_u_turns(cube):
    for before in range(4):
        for later in range(4):
            if after(" ".join(["U"] * before + T_PERM.split() + ["U"] * later)) == cube:
                return True
    return False


class Training(unittest.TestCase):
    def test_the_cube_model_turns_as_a_cube(self):
        self.assertEqual(after("R U R' U' " * 6), solved())
        self.assertEqual(after(T_PERM + " " + T_PERM), solved())
        self.assertNotEqual(after("R"), solved())
        self.assertTrue(is_t_perm_with_u_turns(after("U2 " + T_PERM + " U'")))
        self.assertFalse(is_t_perm_with_u_turns(after("R U R' U R U2 R'")))

    def test_a_pll_session_with_only_t_ticked_scrambles_t_perms(self):
        def prepare(a):
            a.write("Setting.ini", SETTINGS)

        with App(prepare=prepare) as app:
            app.start()
            options = app.open_options("Result")
            app.key("alt+n")
            box = wait_until(lambda: app.titled(r"^Twistwatch \| New Session$"), 10)
            self.assertTrue(box, "the New Session box did not open")
            app.wait_focus(box[-1])
            xdotool("type", "--delay", 20, "PLL T")
            app.key("alt+e", "End", *(["Up"] * EVENTS_AFTER_PLL))
            app.key("alt+s")
            cases = wait_until(lambda: app.titled(r"^Twistwatch \| PLL Cases$"), 10)
            self.assertTrue(cases, "Cases... did not open the PLL cases")
            app.wait_focus(cases[-1])
            # Every case comes ticked: Space unticks all but T, going down the list.
            keys = []
            for name in PLL_CASES:
                if name != "T":
                    keys.append("space")
                keys.append("Down")
            app.key(*keys, delay_ms=60)
            time.sleep(2)  # Wine works through the keys after xdotool has sent them
            app.screenshot("training-pll-cases")
            app.key("Return")
            self.assertTrue(wait_until(lambda: not app.titled(r"^Twistwatch \| PLL Cases$"), 5))
            app.wait_focus(box[-1])
            app.key("Return")
            self.assertTrue(wait_until(lambda: app.setting("Current Session") == "2", 5), app.read("Setting.ini"))
            self.assertEqual(app.setting("Session 2 Event"), "333pll")
            self.assertTrue(wait_until(lambda: app.setting("Session 2 Cases") == "T", 5), app.read("Setting.ini"))
            app.wait_focus(options)
            app.key("Escape")
            self.assertTrue(wait_until(lambda: not app.options_windows(), 5))

            time.sleep(SCRAMBLE_READY_S)
            app.screenshot("training-pll-scramble")
            for seconds in (0.3, 0.5):
                app.wait_focus(app.main)
                xdotool("key", "space", "sleep", seconds, "key", "space")
                time.sleep(0.5)
            self.assertTrue(wait_until(lambda: len(app.result_lines("Result 2.lst")) == 2, 5),
                            app.result_lines("Result 2.lst"))
            for line in app.result_lines("Result 2.lst"):
                self.assertIn(" | Scramble: ", line)
                scramble = line.split(" | Scramble: ", 1)[1]
                self.assertRegex(scramble, r"^[RUFDLB]['2]?( [RUFDLB]['2]?)*$", line)
                self.assertLessEqual(len(scramble.split()), 21, line)
                self.assertTrue(is_t_perm_with_u_turns(after(scramble)), line)


if __name__ == "__main__":
    unittest.main()
