#!/usr/bin/env python3
"""How common a character is, from a crafted dictionary whose order is
worked out by hand: readings summed, words and the header skipped, a
missing or unreadable weight as 0, ties in the order first seen."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from character_frequency import character_weights, most_common  # noqa: E402

CRAFTED = """---
name: crafted
字\tzi\t999
...

的\tde\t100
了\tle\t50
了\tliao\t60
中国\tzhong guo\t900
# 注\tzhu\t800
好\thao
行\txing\tabc
行\thang\t30
在\tzai\t110
是\tshi\t0
""".splitlines(True)


class CharacterFrequency(unittest.TestCase):
    def test_weights_summed_per_character(self):
        self.assertEqual(character_weights(CRAFTED),
                         {"的": 100, "了": 110, "好": 0, "行": 30, "在": 110, "是": 0})

    def test_most_common_first_ties_as_first_seen(self):
        self.assertEqual(most_common(CRAFTED, 10), "了在的行好是")
        self.assertEqual(most_common(CRAFTED, 3), "了在的")

    def test_the_installed_dictionary_starts_with_the_most_common(self):
        from character_frequency import from_file
        common = from_file(count=6000)
        self.assertEqual(len(common), 6000)
        self.assertEqual(len(set(common)), 6000)
        self.assertEqual(common[:3], "的了我")


if __name__ == "__main__":
    unittest.main()
