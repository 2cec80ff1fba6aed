#!/usr/bin/env python3
"""How common a character is, from a crafted dictionary ordered by hand:
readings summed, words and the header skipped, a missing or unreadable
weight 0, ties as first seen; and from the installed one."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from character_frequency import from_file, most_common  # noqa: E402

CRAFTED = ("---\n字\tzi\t999\n...\n\n的\tde\t100\n了\tle\t50\n了\tliao\t60\n中国\tzhong guo\t900\n"
           "# 注\tzhu\t800\n好\thao\n行\txing\tabc\n行\thang\t30\n在\tzai\t110\n是\tshi\t0\n").splitlines(True)


class CharacterFrequency(unittest.TestCase):
    def test_most_common_first(self):
        self.assertEqual(most_common(CRAFTED, 10), "了在的行好是")
        self.assertEqual(most_common(CRAFTED, 3), "了在的")

    def test_the_installed_dictionary(self):
        common = from_file(count=6000)
        self.assertEqual((len(common), len(set(common)), common[:3]), (6000, 6000, "的了我"))


if __name__ == "__main__":
    unittest.main()
