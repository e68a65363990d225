"""The user guide names every message the program shows and every reason a row can give."""
import glob
import os
import re
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Window definitions hold captions and tooltips, not messages.
WINDOWS = ("main_window.cpp", "signin_window.cpp", "cookie_window.cpp")
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
BOX = re.compile(r'(?:message_box|RefuseRun|WorkerMessageBox)\(\s*"([^"]+)"')
REASON = re.compile(r'constexpr [^=\n]*\bk\w+(?:\[\])? = "([^"]+)"')
CJK = re.compile(r"[\u4e00-\u9fff]")


def compact(text):
    return re.sub(r"\s+", "", text)


def messages():
    found = set()
    for path in glob.glob(os.path.join(ROOT, "src", "app", "**", "*.cpp"), recursive=True) + \
            glob.glob(os.path.join(ROOT, "src", "submit", "**", "*.[ch]*"), recursive=True):
        if os.path.basename(path) in WINDOWS:
            continue
        with open(path, encoding="utf-8") as f:
            source = f.read()
        # Sentences, whole or the pieces of a composed one, and whatever goes straight into a box.
        found |= {t for t in LITERAL.findall(source) if CJK.search(t) and t[-1] in "。！？"}
        found |= set(BOX.findall(source))
        if os.path.basename(path).startswith("failure_reason"):
            found |= set(REASON.findall(source))
    return found


class GuideTest(unittest.TestCase):
    def test_every_message_and_reason_is_described(self):
        with open(os.path.join(ROOT, "docs", "使用说明.txt"), encoding="utf-8") as f:
            guide = compact(f.read())
        found = messages()
        self.assertGreater(len(found), 20)
        self.assertEqual(sorted(m for m in found if compact(m) not in guide), [])


if __name__ == "__main__":
    unittest.main()
