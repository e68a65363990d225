"""What the user does with the report: reasons, stop, the list's menu and keys, drop and paste."""

import base64
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
UNKNOWN = "结果未知（任务可能已建立）"
LIST = steps.REPORT_LIST
VK_APPS = 0x5D
# The report's shortcut menu, separators left out: the keyboard passes over them.
MENU = ["复制链接", "复制所选行", "全选", "导出报告…", "导出失败的链接…", "导出提交记录…", "重新提交失败的链接",
        "继续未完成的链接", "整理链接列表"]


def generated_links(count):
    return [f"magnet:?xt=urn:btih:{i * 2654435761 % (1 << 160):040x}" for i in range(1, count + 1)]


class LinkFiles:
    def link_file(self, links, suffix=".txt"):
        path = temporary_text_file("".join(f"{link}\r\n" for link in links), suffix=suffix, encoding="gbk")
        self.addCleanup(os.unlink, path)
        return path


class ReportTest(LinkFiles, E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

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

        def drawn():
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
            return lines
        # A display without a window manager may stack a menu opened as the program starts below its
        # window: then it is opened again.
        for attempt in range(3):
            s.context_menu(MAIN_CAPTION, LIST)
            menu = s.wait_for(lambda: [w[0] for w in s.windows() if w[1] == "#32768"], message="the menu")[0]
            try:
                lines = s.wait_for(lambda: len(found := drawn()) == len(MENU) and found, timeout=2 + 4 * attempt,
                                   message="every item drawn")
            except AssertionError:
                lines = None
            s.menu_keys("ESCAPE")
            s.wait_for(lambda: not s.menu_open(), message="the menu closed")
            if lines:
                return lines
        self.fail("the menu never showed every item")

    def test_reasons_then_copy_export_and_submit_the_failed_links_again(self):
        s = self.session
        links = [UNREACHABLE, GOOD, BLOCKED, NOT_A_LINK]
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), len(links))
        # The first link's resolve gets no answer at all, nor does the platform's own second attempt,
        # nor the run's own second resolve.
        self.standin.set_faults({"drop": {"target": "resolve", "count": 4}})
        steps.start_whole_list(s, "列表中有1行不是磁力链接。是否只提交其余的3条？")
        steps.wait_all_done(s)
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
        self.assertEqual(self.menu_states(), [False, False, True, True, True, True, True, True, True])

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

        self.menu_choose("导出提交记录…")
        s.open_file(out / "history.csv")
        history = s.wait_for(lambda: (out / "history.csv").exists() and (out / "history.csv").read_bytes(),
                             message="the exported history")
        lines = history[3:].decode("utf-8").split("\r\n")
        self.assertEqual(lines[0], "编号,标题,大小,磁力链接,提交状态,原因,开始时间,状态")
        self.assertEqual([line.split(",")[:6] for line in lines[1:-1]], [",".join(row).split(",") for row in rows])
        self.assertEqual([line.split(",")[-1] for line in lines[1:-1]], ["失败", "成功", "失败", "失败"])

        self.menu_choose("重新提交失败的链接")
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共3条链接。", message="the count label")
        seen = len(self.standin.resolves())
        steps.start_whole_list(s, "列表中有1行不是磁力链接。是否只提交其余的2条？")
        box = steps.wait_all_done(s)
        self.assertEqual(box.text, f"{steps.ALL_DONE}\n成功1条，失败2条。")
        self.assertEqual([row[3:5] for row in steps.report_rows(s)[4:]],
                         [[UNREACHABLE, steps.SUBMITTED], [BLOCKED, steps.FAILED], [NOT_A_LINK, steps.FAILED]])
        self.assertEqual(len(self.standin.resolves()) - seen, 3)
        # The link made at the second try is failed no more.
        self.menu_choose("重新提交失败的链接")
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共2条链接。", message="the count label")
        steps.import_links(s, out / "failed.txt", 3)

    def test_a_link_made_at_the_second_try_is_committed_once_and_failed_no_more(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file([UNREACHABLE, GOOD]), 2)
        self.standin.set_faults({"drop": {"target": "resolve", "count": 4}})
        self.assertEqual(self.run_batch().text, f"{steps.ALL_DONE}\n成功1条，失败1条。")
        self.menu_choose("重新提交失败的链接")
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共1条链接。", message="the count label")
        self.assertEqual(self.run_batch().text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual(self.menu_states()[4:7], [False, True, False])
        made = [c for c in self.standin.commits() if c["accepted"] and c["hash"] == "02" * 20]
        self.assertEqual(len(made), 1)

    def test_stopped_run_continues_with_the_links_not_yet_made(self):
        s = self.session
        links = generated_links(30)
        failing = links[2][len("magnet:?xt=urn:btih:"):]
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), len(links))
        self.standin.set_faults({"refuse": {"target": "resolve", "hashes": [failing]}})
        steps.start_batch(s, "150")
        steps.wait_rows(s, 15)
        s.click(MAIN_CAPTION, steps.START_BUTTON)
        box = steps.wait_all_done(s)
        shown = len(steps.report_rows(s))
        self.assertEqual(box.text, f"{steps.STOPPED}\n成功{shown - 1}条，失败1条。")
        self.menu_choose("继续未完成的链接")
        rest = len(links) - shown + 1
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == f"共{rest}条链接。", message="the count")
        self.standin.set_faults({})
        self.assertEqual(self.run_batch().text.split("\n")[0], steps.ALL_DONE)  # a list no run touched: no question
        self.assertEqual([row[3] for row in steps.report_rows(s)[shown:]], [links[2]] + links[shown:])
        made = sorted(c["hash"] for c in self.standin.commits() if c["accepted"])
        self.assertEqual(made, sorted(link[len("magnet:?xt=urn:btih:"):] for link in links))

    def test_start_again_asks_whether_to_submit_only_the_rest(self):
        s = self.session
        links = generated_links(10)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), len(links))
        steps.start_batch(s, "300")
        steps.wait_rows(s, 3)
        s.click(MAIN_CAPTION, steps.START_BUTTON)
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.STOPPED)
        made = len(steps.report_rows(s))
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.START_BUTTON) == steps.START_CAPTION, message="start again")
        steps.start_batch(s, "0")
        question = s.wait_message_box()
        self.assertEqual((question.title, question.text),
                         (steps.NOTICE_TITLE, f"列表中有{made}条链接以前已提交成功。是否只提交其余的{10 - made}条？"))
        s.press_key(question.handle, steps.VK_RETURN)  # 是, the default
        s.wait_gone(question.handle)
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual([row[0] for row in steps.report_rows(s)[made:]], [str(i) for i in range(made + 1, 11)])
        self.assertEqual(len(self.standin.commits()), 10)

        # One Enter too many after everything was made submits nothing.
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.START_BUTTON) == steps.START_CAPTION, message="start again")
        steps.start_batch(s, "0")
        question = s.wait_message_box()
        self.assertEqual(question.text, "列表中的链接都已提交成功。是否全部重新提交？")
        s.press_key(question.handle, steps.VK_RETURN)
        s.wait_gone(question.handle)
        self.assertEqual(steps.idle(s), (steps.START_CAPTION, False))
        self.assertEqual((len(self.standin.commits()), len(steps.report_rows(s))), (10, 10))

    def test_commits_cut_off_or_answered_late_are_unknown_and_enter_never_sends_them_again(self):
        s = self.session
        links = generated_links(4)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), 4)
        hashes = [link[len("magnet:?xt=urn:btih:"):] for link in links]
        # The service makes both tasks; one connection closes after the POST, one answer comes after 35 s.
        self.standin.set_faults({"close_after_post": {"target": "commit", "hashes": [hashes[0]]},
                                 "late": {"target": "commit", "hashes": [hashes[1]]}})
        self.assertEqual(self.run_batch().text, f"{steps.ALL_DONE}\n成功2条，失败0条，结果未知2条。")
        self.assertEqual([row[4:] for row in steps.report_rows(s)[:2]], [[steps.UNKNOWN_STATUS, UNKNOWN]] * 2)
        s.screenshot("report_unknown")
        self.assertTrue(self.menu_states()[MENU.index("导出失败的链接…")])  # they are links to look at
        also = f"另有2条链接的提交结果未知，任务可能已经建立：\n{links[0]}\n{links[1]}\n是否也重新提交？"
        for item, question in (("重新提交失败的链接", also), ("继续未完成的链接", also),
                               (None, f"列表中的4条链接：以前已提交成功2条，结果未知2条。结果未知的是：\n"
                                      f"{links[0]}\n{links[1]}\n是否重新提交这2条？")):
            self.menu_choose(item) if item else steps.start_batch(s, "0")
            box = s.wait_message_box()
            self.assertEqual(box.text, question)
            s.press_key(box.handle, steps.VK_RETURN)
            s.wait_gone(box.handle)
            self.assertEqual(s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL), "共4条链接。")
        self.assertEqual(steps.idle(s), (steps.START_CAPTION, False))
        self.assertEqual(sorted((c["hash"], c["accepted"]) for c in self.standin.commits()), [(h, True) for h in sorted(hashes)])

    def test_tidying_the_list_drops_non_links_repeats_and_links_made_before(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file([GOOD]), 1)
        self.assertEqual(self.run_batch().text.split("\n")[0], steps.ALL_DONE)
        as_base32 = "magnet:?xt=urn:btih:" + base64.b32encode(bytes.fromhex("03" * 20)).decode() + "&dn=again"
        kept = ["magnet:?xt=urn:btih:" + "03" * 20, UNREACHABLE]
        steps.import_links(s, self.link_file([NOT_A_LINK, kept[0], GOOD, as_base32, kept[1]]), 5)
        self.menu_choose("整理链接列表")
        box = steps.wait_all_done(s)
        self.assertEqual((box.title, box.text), (steps.NOTICE_TITLE,
                         "去掉了1行非磁力链接、1条重复的链接、1条已提交成功的链接，剩余2条链接。"))
        self.assertEqual(s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL), "共2条链接。")
        self.run_batch()
        self.assertEqual([row[3] for row in steps.report_rows(s)[1:]], kept)

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
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共6条链接（新增5条）", message="the drop")

    def test_the_link_in_flight_has_its_row(self):
        s = self.session
        links = generated_links(2)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), 2)
        self.standin.set_faults({"delay": {"ms": 2000, "target": "commit", "hashes": [links[0][-40:]]}})
        steps.start_batch(s, "0")
        self.assertEqual(s.wait_for(lambda: steps.report_rows(s), timeout=10)[0][4:], [steps.COMMITTING, ""])
        s.screenshot("report_link_in_flight")
        self.assertEqual(steps.wait_all_done(s).text, f"{steps.ALL_DONE}\n成功2条，失败0条。")
        self.assertEqual([row[4] for row in steps.report_rows(s)], [steps.SUBMITTED] * 2)

    def test_a_double_click_starts_and_the_buttons_return_with_the_final_box(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file([GOOD, BLOCKED, UNREACHABLE]), 3)
        steps.start_batch(s, "200")
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.START_BUTTON) == steps.STOP_CAPTION, message="the run began")
        s.click(MAIN_CAPTION, steps.START_BUTTON)
        box = s.wait_message_box(timeout_ms=30000)
        self.assertEqual(box.text, f"{steps.ALL_DONE}\n成功2条，失败1条。")
        self.assertEqual(len(steps.report_rows(s)), 3)
        # In front of the main window although it has none for owner.
        s.focus(MAIN_CAPTION, LIST)
        s.screenshot("report_final_box_in_front")
        self.assertTrue(s.info(box.handle, None).exstyle & 0x8)  # WS_EX_TOPMOST
        # The run ends when the box closes: until then dropped links wait, and join after it.
        s.drop_files(MAIN_CAPTION, self.link_file([GOOD, NOT_A_LINK]))
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共3条链接（待加入2条）", message="waiting")
        s.screenshot("report_waiting_during_run")
        s.press(box.handle, "OK")
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共4条链接（新增1条）", message="joined")
        s.wait_gone(box.handle)
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.START_BUTTON) == steps.START_CAPTION, message="start again")

    def test_stop_lets_the_current_link_finish_and_a_new_run_works(self):
        s = self.session
        links = generated_links(1289)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links[:1234]), 1234)
        steps.start_batch(s, "100")
        steps.wait_rows(s, 5)
        # Nothing replaces the links while a run goes: a drop and a paste wait for its end.
        s.set_clipboard(GOOD)
        s.drop_files(MAIN_CAPTION, self.link_file(links[1234:]))
        s.press_key(MAIN_CAPTION, 0x56, LIST, char=0x16)
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL) == "共1234条链接（待加入56条）", message="waiting")
        # On one line at the window's size: its font shrinks.
        inked = [y for y, row in enumerate(s.pixels(MAIN_CAPTION, steps.LINK_COUNT_LABEL)) if min(map(max, row)) < 100]
        self.assertLess(inked[-1] - inked[0], 16)
        s.screenshot("report_count_label_fits")
        s.click(MAIN_CAPTION, steps.START_BUTTON)
        box = s.wait_message_box()
        s.screenshot("report_stopped")
        s.press(box.handle, "OK")
        stopped_at = len(steps.report_rows(s))
        self.assertEqual((box.title, box.text), (steps.DEFAULT_TITLE, f"{steps.STOPPED}\n成功{stopped_at}条，失败0条。"))
        self.assertLess(stopped_at, 1234)
        # Every row is a finished link, and none followed.
        self.assertEqual(len(self.standin.commits()), stopped_at)
        self.assertEqual(len(steps.report_rows(s)), stopped_at)
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.START_BUTTON) == steps.START_CAPTION and
                   s.enabled(MAIN_CAPTION, steps.IMPORT_BUTTON), message="both buttons back")
        self.assertEqual(s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL), "共1290条链接（新增56条）")

        # The next run's bar and label start at nothing done, not where this one stopped.
        steps.import_links(s, self.link_file([GOOD]), 1)
        self.standin.set_faults({"delay": {"ms": 3000, "target": "resolve"}})
        steps.start_batch(s, "0")
        s.wait_for(lambda: (s.progress(MAIN_CAPTION, steps.PROGRESS_BAR), s.text(MAIN_CAPTION, steps.PROGRESS_LABEL))
                   == ((0, 1, 0), "0%"), timeout=2, message="the bar at 0 while the first link is held")
        self.assertEqual(steps.wait_all_done(s).text, f"{steps.ALL_DONE}\n成功1条，失败0条。")
        self.assertEqual(steps.report_rows(s)[-1][:5], ["1", "山海之间 4K 纪录片", "1.5GB", GOOD, steps.SUBMITTED])

    def test_dropped_files_and_pasted_text_add_to_the_links(self):
        s = self.session
        main = s.wait_window(MAIN_CAPTION)
        # Nothing imported: nothing to tidy; the record's history is there all the same.
        self.assertEqual(self.menu_states(), [item == "导出提交记录…" for item in MENU])

        s.drop_files(main, self.link_file([GOOD, BLOCKED]), self.link_file([UNREACHABLE]))
        s.wait_for(lambda: s.text(main, steps.LINK_COUNT_LABEL) == "共3条链接（新增3条）", message="the dropped files")
        s.drop_files(main, self.link_file([GOOD], suffix=".txt.csv"))
        box = s.wait_message_box()
        self.assertEqual((box.title, box.text), (steps.NOTICE_TITLE, "必须导入txt格式"))
        s.press(box.handle, "OK")
        self.assertEqual(s.text(main, steps.LINK_COUNT_LABEL), "共3条链接（新增3条）")

        s.set_clipboard(f"{GOOD}\r\n\r\n{BLOCKED}\n{UNREACHABLE}\r\n{NOT_A_LINK}")
        s.type(main, LIST, "\u0016")  # Ctrl+V
        # Only the line without a torrent the list holds is new.
        s.wait_for(lambda: s.text(main, steps.LINK_COUNT_LABEL) == "共4条链接（新增1条）", message="the pasted links")
        # Ctrl+V wherever the focus is, but the interval box pastes into itself.
        s.set_clipboard("12")
        s.press_key(main, 0x56, steps.INTERVAL_EDIT, char=0x16)
        s.wait_for(lambda: "12" in s.text(main, steps.INTERVAL_EDIT), message="the pasted interval")
        s.set_clipboard(GOOD)
        s.press_key(main, 0x56, steps.START_BUTTON, char=0x16)
        s.wait_for(lambda: s.text(main, steps.LINK_COUNT_LABEL) == "共4条链接（新增0条）", message="the paste on a button")


if __name__ == "__main__":
    unittest.main()
