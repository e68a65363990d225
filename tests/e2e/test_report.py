"""What the user does with the report: reasons, stop, the list's menu and keys, drop and paste."""

import os
import shutil
import tempfile
import unittest
from pathlib import Path

from harness import MAIN_CAPTION, E2ETestCase, temporary_text_file
import batch_steps as steps

USER, USER_ID = "demo", "100001"
GOOD, BLOCKED = "magnet:?xt=urn:btih:" + "01" * 20, "magnet:?xt=urn:btih:" + "0e" * 20
UNREACHABLE = "magnet:?xt=urn:btih:" + "02" * 20
# Stand-in titles a spreadsheet would run as formulas, a plain number, a tab inside.
FORMULAS = ["magnet:?xt=urn:btih:" + f"{byte:02x}" * 20 for byte in range(0x22, 0x27)]
NOT_A_LINK = "这一行不是磁力链接"
LIST = steps.REPORT_LIST
VK_APPS = 0x5D
# The report's shortcut menu, separators left out: the keyboard passes over them.
MENU = ["复制链接", "复制所选行", "全选", "导出报告…", "导出失败的链接…", "重新提交失败的链接"]


def generated_links(count):
    return [f"magnet:?xt=urn:btih:{i * 2654435761 % (1 << 160):040x}" for i in range(1, count + 1)]


class ReportTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def link_file(self, links, suffix=".txt"):
        path = temporary_text_file("".join(f"{link}\r\n" for link in links), suffix=suffix, encoding="gbk")
        self.addCleanup(os.unlink, path)
        return path

    def folder(self, name=""):
        path = Path(tempfile.mkdtemp()) / name
        path.mkdir(exist_ok=True)
        self.addCleanup(shutil.rmtree, path.parent if name else path)
        return path

    def run_batch(self, interval="0"):
        steps.start_batch(self.session, interval)
        return steps.wait_all_done(self.session)

    def menu_choose(self, caption, rows=None):
        s = self.session
        if rows is not None:
            s.list_select(MAIN_CAPTION, LIST, *rows)
        s.context_menu(MAIN_CAPTION, LIST)
        s.menu_keys(*["DOWN"] * (MENU.index(caption) + 1), "RETURN")

    def menu_states(self):
        """Opens the menu and reads, for each item from the top, whether it is drawn as available:
        its text has black pixels, where a greyed item's has only grey ones. Closes the menu again."""
        s = self.session
        s.context_menu(MAIN_CAPTION, LIST)
        menu = s.wait_for(lambda: [w[0] for w in s.windows() if w[1] == "#32768"], message="the menu")[0]
        s.call("sleep", 300)
        lines, black, height = [], False, 0
        for row in s.pixels(menu) + [[]]:
            inked = [p for p in row if max(p) < 200]
            if len(inked) > 2:
                black, height = black or any(max(p) < 40 for p in inked), height + 1
                continue
            # Frame and separators are lines a pixel or two high; an item's text is taller.
            if height > 4:
                lines.append(black)
            black, height = False, 0
        s.menu_keys("ESCAPE")
        s.wait_for(lambda: not s.menu_open(), message="the menu closed")
        return lines

    def test_reasons_then_copy_export_and_submit_the_failed_links_again(self):
        s = self.session
        links = [UNREACHABLE, GOOD, BLOCKED, NOT_A_LINK]
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), len(links))
        # The first link's resolve gets no answer at all, nor do the platform's own second attempt and
        # the program's retry (each with the platform's second attempt).
        self.standin.set_faults({"drop": {"target": "resolve", "count": 4}})
        self.run_batch()
        rows = steps.report_rows(s)
        self.assertEqual([row[:5] for row in rows], [
            ["1", "", "0KB", UNREACHABLE, steps.FAILED],
            ["2", "山海之间 4K 纪录片", "1.5GB", GOOD, steps.SUBMITTED],
            ["3", "被屏蔽的资源", "500MB", BLOCKED, steps.FAILED],
            ["4", "", "0KB", NOT_A_LINK, steps.FAILED],
        ])
        self.assertEqual([row[5] for row in rows], [steps.NETWORK_ERROR, "", steps.BLOCKED, steps.NOT_RESOLVED])
        s.screenshot("report_reasons")

        s.list_select(MAIN_CAPTION, LIST, 1, 2)
        s.type(MAIN_CAPTION, LIST, "\u0003")  # Ctrl+C
        self.assertEqual(s.clipboard(), f"{GOOD}\r\n{BLOCKED}\r\n")
        self.menu_choose("复制所选行", rows=(1,))
        copied = s.wait_for(lambda: s.clipboard().startswith("编号") and s.clipboard(), message="the copied rows")
        self.assertEqual(copied, "编号\t标题\t大小\t磁力链接\t提交状态\t原因\r\n" + "\t".join(rows[1]) + "\r\n")

        s.list_select(MAIN_CAPTION, LIST)
        self.assertEqual(self.menu_states(), [False, False, True, True, True, True])

        s.list_select(MAIN_CAPTION, LIST, 0)
        s.key(MAIN_CAPTION, LIST, VK_APPS)
        s.menu_keys("DOWN", "DOWN")
        s.screenshot("report_menu")
        s.menu_keys("ESCAPE")
        s.wait_for(lambda: not s.menu_open(), message="the menu closed")
        self.menu_choose("导出报告…")
        self.assertRegex(s.file_dialog_name(), r"^Brindor报告-\d{8}-\d{6}\.csv$")
        out = self.folder()
        s.open_file(out / "report.csv")
        csv = s.wait_for(lambda: (out / "report.csv").exists() and (out / "report.csv").read_bytes(),
                         message="the exported report")
        self.assertTrue(csv.startswith(b"\xef\xbb\xbf"))
        lines = csv[3:].decode("utf-8").split("\r\n")
        self.assertEqual(lines[0], "编号,标题,大小,磁力链接,提交状态,原因")
        self.assertEqual(lines[1:], [",".join(row) for row in rows] + [""])

        self.menu_choose("导出失败的链接…")
        s.open_file(out / "failed.txt")
        failed = s.wait_for(lambda: (out / "failed.txt").exists() and (out / "failed.txt").read_bytes(),
                            message="the exported links")
        self.assertEqual(failed.decode("gbk").split("\r\n"), [UNREACHABLE, BLOCKED, NOT_A_LINK, ""])
        steps.import_links(s, out / "failed.txt", 3)

        steps.import_links(s, self.link_file([GOOD]), 1)
        self.menu_choose("重新提交失败的链接")
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共3条链接。", message="the count label")
        seen = len(self.standin.resolves())
        box = self.run_batch()
        self.assertEqual(box.text, steps.ALL_DONE)
        self.assertEqual([row[3] for row in steps.report_rows(s)[4:]], [UNREACHABLE, BLOCKED, NOT_A_LINK])
        self.assertEqual(len(self.standin.resolves()) - seen, 3)

    def test_formula_titles_stay_data_in_a_folder_outside_gbk(self):
        s = self.session
        korean = self.folder("한글")
        (korean / "links.txt").write_bytes("".join(f"{link}\r\n" for link in FORMULAS).encode())
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, korean / "links.txt", len(FORMULAS))
        self.run_batch()
        rows = steps.report_rows(s)
        self.assertEqual([row[1] for row in rows], ["=1+2", "@SUM(1+1)", "-2+3", "-1", "Tab\tInside"])
        safe = ["'=1+2", "'@SUM(1+1)", "'-2+3", "-1"]

        s.type(MAIN_CAPTION, LIST, "\u0001")  # Ctrl+A
        self.menu_choose("复制所选行")
        copied = s.wait_for(lambda: s.clipboard().startswith("编号") and s.clipboard(), message="the copied rows")
        cells = [line.split("\t") for line in copied.split("\r\n")[1:-1]]
        self.assertEqual([len(line) for line in cells], [6] * 5)
        self.assertEqual([line[1] for line in cells], safe + ["Tab Inside"])

        self.menu_choose("导出报告…")
        s.open_file(korean / "report.csv")
        csv = s.wait_for(lambda: (korean / "report.csv").exists() and (korean / "report.csv").read_bytes(),
                         message="the exported report")
        self.assertEqual([line.split(",")[1] for line in csv[3:].decode("utf-8").split("\r\n")[1:-1]],
                         safe + ["Tab\tInside"])

        steps.import_links(s, self.link_file([GOOD]), 1)
        s.drop_files(MAIN_CAPTION, korean / "links.txt")
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共5条链接。", message="the drop")

    def test_a_double_click_starts_and_the_buttons_return_with_the_final_box(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file([GOOD, BLOCKED, UNREACHABLE]), 3)
        steps.start_batch(s, "200")
        s.call("sleep", 50)
        s.click(MAIN_CAPTION, steps.START_BUTTON)
        box = s.wait_message_box(timeout_ms=30000)
        self.assertEqual(box.text, steps.ALL_DONE)
        self.assertEqual(len(steps.report_rows(s)), 3)
        # In front of the main window although it has none for owner.
        s.focus(MAIN_CAPTION, LIST)
        s.screenshot("report_final_box_in_front")
        self.assertTrue(s.info(box.handle, None).exstyle & 0x8)  # WS_EX_TOPMOST
        # The run ends when the box closes: until then nothing replaces its links, and it says so.
        s.drop_files(MAIN_CAPTION, self.link_file([GOOD]))
        refused = s.wait_message_box(title=steps.NOTICE_TITLE)
        self.assertEqual(refused.text, "正在提交，请在完成后再导入")
        s.screenshot("report_refused_during_run")
        s.press(refused.handle, "OK")
        s.press(box.handle, "OK")
        s.wait_gone(box.handle)
        s.call("sleep", 100)
        self.assertEqual(s.text(MAIN_CAPTION, steps.START_BUTTON), steps.START_CAPTION)

    def test_stop_lets_the_current_link_finish_and_a_new_run_works(self):
        s = self.session
        links = generated_links(200)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), len(links))
        steps.start_batch(s, "100")
        steps.wait_rows(s, 5)
        # Nothing replaces the links while a run goes: neither a drop nor a paste.
        s.set_clipboard(GOOD)
        for refused in (lambda: s.drop_files(MAIN_CAPTION, self.link_file([GOOD])),
                        lambda: s.press_key(MAIN_CAPTION, 0x56, LIST, char=0x16)):
            refused()
            s.press(s.wait_message_box(title=steps.NOTICE_TITLE).handle, "OK")
        self.assertEqual(s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL), "共200条链接。")
        s.click(MAIN_CAPTION, steps.START_BUTTON)
        box = s.wait_message_box()
        s.screenshot("report_stopped")
        s.press(box.handle, "OK")
        self.assertEqual((box.title, box.text), (steps.DEFAULT_TITLE, steps.STOPPED))
        stopped_at = len(steps.report_rows(s))
        self.assertLess(stopped_at, len(links))
        # Every row is a finished link, and none followed.
        self.assertEqual(len(self.standin.commits()), stopped_at)
        self.assertEqual(len(steps.report_rows(s)), stopped_at)
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.START_BUTTON) == steps.START_CAPTION and
                   s.enabled(MAIN_CAPTION, steps.IMPORT_BUTTON), message="both buttons back")

        steps.import_links(s, self.link_file([GOOD]), 1)
        box = self.run_batch()
        self.assertEqual(box.text, steps.ALL_DONE)
        self.assertEqual(steps.report_rows(s)[-1][:5], ["1", "山海之间 4K 纪录片", "1.5GB", GOOD, steps.SUBMITTED])

    def test_dropped_file_and_pasted_text_replace_the_links(self):
        s = self.session
        main = s.wait_window(MAIN_CAPTION)
        self.assertEqual(self.menu_states(), [False] * len(MENU))

        s.drop_files(main, self.link_file([GOOD, BLOCKED, UNREACHABLE]))
        s.wait_for(lambda: s.text(main, steps.LINK_COUNT_LABEL) == "共3条链接。", message="the dropped file")
        s.drop_files(main, self.link_file([GOOD], suffix=".txt.csv"))
        box = s.wait_message_box()
        self.assertEqual((box.title, box.text), (steps.NOTICE_TITLE, "必须导入txt格式"))
        s.press(box.handle, "OK")
        self.assertEqual(s.text(main, steps.LINK_COUNT_LABEL), "共3条链接。")

        s.set_clipboard(f"{GOOD}\r\n\r\n{BLOCKED}\n{UNREACHABLE}\r\n{NOT_A_LINK}")
        s.type(main, LIST, "\u0016")  # Ctrl+V
        s.wait_for(lambda: s.text(main, steps.LINK_COUNT_LABEL) == "共4条链接。", message="the pasted links")
        # Ctrl+V wherever the focus is, but the interval box pastes into itself.
        s.set_clipboard("12")
        s.press_key(main, 0x56, steps.INTERVAL_EDIT, char=0x16)
        s.wait_for(lambda: "12" in s.text(main, steps.INTERVAL_EDIT), message="the pasted interval")
        s.set_clipboard(GOOD)
        s.press_key(main, 0x56, steps.START_BUTTON, char=0x16)
        s.wait_for(lambda: s.text(main, steps.LINK_COUNT_LABEL) == "共1条链接。", message="the paste on a button")


if __name__ == "__main__":
    unittest.main()
