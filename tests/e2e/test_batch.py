"""The whole job under Wine: sign in, import, start, and what the report, the progress and the service show."""

import os
import re
import sys
import unittest

from harness import REPO, MAIN_CAPTION, DriverError, E2ETestCase, temporary_text_file
import batch_steps as steps

sys.path.insert(0, str(REPO))
from tools.standin.catalogue import Catalogue  # noqa: E402
from tools.standin.sizes import format_size  # noqa: E402

USER, USER_ID = "demo", "100001"
SAMPLE = REPO / "samples" / "links.txt"
# The sample holds one torrent twice (hex and base32) and a line that is no link.
SAMPLE_QUESTION = r"列表中有1条重复，1行不是磁力链接。是否只提交其余的13条？"
CLOSE_QUESTION = "正在提交，是否在当前链接完成后退出？"
HASH = re.compile(r"xt=urn:btih:([0-9A-Za-z]+)")


def sample_links():
    with open(SAMPLE, "rb") as f:
        return [line.decode("gbk") for line in f.read().splitlines() if line]


def expected_row(number, link, catalogue):
    """What the report should show for a link: the title as the program keeps it, size, status, reason."""
    found = HASH.search(link)
    entry = catalogue.lookup(hex_hash(found.group(1))) if found else None
    if entry is None:
        return [str(number), "", "0KB", link, steps.FAILED, steps.NOT_RESOLVED]
    if entry.refused:
        return [str(number), entry.client_title, format_size(str(entry.tsize)), link, steps.FAILED, steps.BLOCKED]
    return [str(number), entry.client_title, format_size(str(entry.tsize)), link, steps.SUBMITTED, ""]


def generated_links(count):
    return [f"magnet:?xt=urn:btih:{i * 2654435761 % (1 << 160):040x}" for i in range(1, count + 1)]


def hashes_of(links):
    return [link[len("magnet:?xt=urn:btih:"):] for link in links]


def hex_hash(text):
    if len(text) == 40:
        return text.lower()
    import base64
    return base64.b32decode(text.upper()).hex()


class BatchTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def test_whole_job_reports_every_link_and_commits_the_accepted_ones(self):
        s = self.session
        links = sample_links()
        catalogue = Catalogue.load()
        expected = [expected_row(i, link, catalogue) for i, link in enumerate(links, 1)]
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, SAMPLE, len(links))
        steps.start_whole_list(s, SAMPLE_QUESTION)
        box = steps.wait_all_done(s)
        made = sum(1 for row in expected if row[4] == steps.SUBMITTED)
        self.assertEqual((box.title, box.text),
                         (steps.DEFAULT_TITLE, f"{steps.ALL_DONE}\n成功{made}条，失败{len(links) - made}条。"))

        self.assertEqual(steps.report_rows(s), expected)
        self.assertEqual(s.progress(MAIN_CAPTION, steps.PROGRESS_BAR), (0, len(links), len(links)))
        self.assertEqual(s.text(MAIN_CAPTION, steps.PROGRESS_LABEL), "100%")
        sizes = {row[2] for row in expected}
        self.assertTrue({"1.5GB", "1024MB", "0.1KB"} <= sizes)

        accepted = [c for c in self.standin.commits() if c["accepted"]]
        self.assertEqual([c["cid"] for c in accepted],
                         [catalogue.lookup(hex_hash(HASH.search(row[3]).group(1))).cid
                          for row in expected if row[4] == steps.SUBMITTED])
        commits = self.standin.commits()
        self.assertTrue(all(c["uid"] == USER_ID for c in commits))
        # Only links the service resolved to a content id are committed.
        self.assertEqual(len(commits), sum(1 for link in links if HASH.search(link)))

        # A second run asks first; the whole list again appends below, numbered from 1 again.
        steps.start_batch(s, "0")
        question = s.wait_message_box()
        self.assertEqual((question.title, question.text, [int(i) for i, _ in question.buttons]),
                         (steps.NOTICE_TITLE, f"列表中有{made}条链接以前已提交成功，1行不是磁力链接。"
                                              f"是否只提交其余的{len(links) - made - 1}条？", [steps.YES, steps.NO, steps.CANCEL]))
        steps.answer(s, question, steps.NO)
        steps.wait_all_done(s)
        rows = steps.report_rows(s)
        self.assertEqual(rows, expected + expected)

    def test_no_links_or_nobody_signed_in_only_tells_the_user(self):
        s = self.session
        links = temporary_text_file("magnet:?xt=urn:btih:" + "01" * 20 + "\n")
        self.addCleanup(os.unlink, links)
        for prepare in ("nothing", "links without sign-in"):
            with self.subTest(prepare):
                if prepare == "links without sign-in":
                    steps.import_links(s, links, 1)
                seen = len(self.standin.requests())
                steps.start_batch(s, "0")
                s.wait_message_box(timeout_ms=15000)  # no run goes: the buttons say so while the refusal shows
                self.assertEqual((s.text(MAIN_CAPTION, steps.START_BUTTON), s.enabled(MAIN_CAPTION, steps.IMPORT_BUTTON)),
                                 (steps.START_CAPTION, True))
                box = steps.wait_all_done(s)
                self.assertEqual((box.title, box.text), (steps.NOTICE_TITLE, steps.NOTHING_TO_DO))
                self.assertEqual(steps.report_rows(s), [])
                self.assertEqual(s.text(MAIN_CAPTION, steps.PROGRESS_LABEL), "")
                interface = [r for r in self.standin.requests()[seen:] if r["role"] == "interface"]
                self.assertEqual(interface, [])
                s.wait_for(lambda: s.enabled(MAIN_CAPTION, steps.START_BUTTON), message="start button back")

    def test_import_is_off_and_start_stops_while_a_batch_runs(self):
        s = self.session
        links = sample_links()
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, SAMPLE, len(links))
        steps.start_whole_list(s, SAMPLE_QUESTION, "300")
        s.wait_for(lambda: len(steps.report_rows(s)) >= 1, timeout=30, message="the first row")
        self.assertTrue(s.enabled(MAIN_CAPTION, steps.START_BUTTON))
        self.assertEqual(s.text(MAIN_CAPTION, steps.START_BUTTON), steps.STOP_CAPTION)
        self.assertFalse(s.enabled(MAIN_CAPTION, steps.IMPORT_BUTTON))
        steps.wait_all_done(s)
        s.wait_for(lambda: s.text(MAIN_CAPTION, steps.START_BUTTON) == steps.START_CAPTION and
                   s.enabled(MAIN_CAPTION, steps.IMPORT_BUTTON), message="both buttons back")
        self.assertEqual(len(steps.report_rows(s)), len(links))

    def test_closing_mid_run_asks_and_only_a_kill_leaves_the_run_unfinished(self):
        s = self.session
        links = sample_links()
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, SAMPLE, len(links))
        main = steps.start_whole_list(s, SAMPLE_QUESTION, "500")
        s.wait_for(lambda: len(steps.report_rows(s)) >= 1, timeout=30, message="the first row")
        s.close_window(main)
        question = s.wait_message_box()
        self.assertEqual((question.title, question.text), (steps.NOTICE_TITLE, CLOSE_QUESTION))
        steps.answer(s, question, steps.NO)  # the run goes on
        rows = len(steps.report_rows(s))
        s.wait_for(lambda: len(steps.report_rows(s)) > rows, timeout=30, message="a further row")
        s.kill_program()
        self.assertEqual(s.windows(), [])

        # The next start asks about the run that never ended. Closing the window meanwhile ends the
        # program quietly, and the offer stays for the start after.
        for close_first in (True, False):
            s.start_program(keep_record=True)
            question = s.wait_message_box()
            self.assertRegex(question.text, rf"^上次提交没有完成：已处理\d+/{len(links)}条，成功\d+条，失败\d+条(，结果未知1条)?。"
                                            r"是否载入尚未成功的\d+条链接？$")
            if close_first:
                s.close_window(s.wait_window(MAIN_CAPTION))
                steps.answer(s, question, steps.YES)
                self.assertEqual(s.wait_exit(timeout_ms=5000), 0)
        steps.answer(s, question, steps.NO)
        self.assertEqual(s.text(MAIN_CAPTION, steps.LINK_COUNT_LABEL), "")
        s.kill_program()
        s.start_program(keep_record=True)
        self.assertEqual(steps.idle(s), (steps.START_CAPTION, False))

    def test_closing_during_a_held_commit_waits_for_its_answer_then_ends_quietly(self):
        s = self.session
        links = generated_links(1)
        self.addCleanup(os.unlink, path := temporary_text_file(links[0] + "\n"))
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, path, 1)
        self.standin.set_faults({"delay": {"ms": 3000, "target": "commit"}})
        main = steps.start_batch(s, "0")
        s.wait_for(lambda: steps.report_rows(s), timeout=10, message="the row in flight")
        s.close_window(main)
        self.assertEqual((question := s.wait_message_box()).text, CLOSE_QUESTION)
        s.screenshot("batch_close_question")
        steps.answer(s, question, steps.YES)
        self.assertEqual(s.wait_exit(timeout_ms=15000), 0)  # no end box to answer
        self.assertEqual([(link, state) for _, _, link, state, _ in self.environment.record_links()], [(links[0], 1)])
        self.assertEqual([c["accepted"] for c in self.standin.commits()], [True])
        s.start_program(keep_record=True)
        s.wait_window(MAIN_CAPTION)
        with self.assertRaises(DriverError):
            s.wait_message_box(timeout_ms=1500)

    def test_killed_ten_times_with_commits_in_flight_every_link_ends_with_one_task(self):
        s = self.session
        links = [f"magnet:?xt=urn:btih:{i * 2654435761 % (1 << 160):040x}" for i in range(1, 61)]
        self.addCleanup(os.unlink, path := temporary_text_file("".join(f"{link}\n" for link in links)))
        # The service makes each task as it reads the POST and answers a little later: a kill lands in flight.
        self.standin.set_faults({"delay": {"target": "commit", "ms": 400}})
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, path, len(links))
        for kill in range(11):
            if kill:
                s.start_program(keep_record=True)
                question = s.wait_message_box()
                self.assertRegex(question.text, r"^上次提交没有完成：已处理\d+/\d+条，成功\d+条，失败0条，结果未知1条。"
                                                r"是否载入尚未成功的\d+条链接？$")
                steps.answer(s, question, steps.YES)
                also = s.wait_message_box()
                if kill == 1:
                    s.screenshot("resume_unknown")
                # The link in flight is named: it has no title yet.
                self.assertRegex(also.text, r"^另有1条链接的提交结果未知，任务可能已经建立：\n"
                                            r"magnet:\?xt=urn:btih:[0-9a-f]{40}\n是否也重新提交？$")
                s.press_key(also.handle, steps.VK_RETURN)  # 否, the default
                s.wait_gone(also.handle)
                steps.sign_in(s, USER, USER_ID)
            sent = len(self.standin.commits())
            steps.start_batch(s, "0")
            if kill == 10:
                self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
                break
            s.wait_for(lambda: len(self.standin.commits()) > sent + kill % 3, timeout=60, message="a commit in flight")
            shown = steps.report_rows(s)
            s.kill_program()
            # Every row shown was on disk first, the one in flight as marked (or its outcome already).
            run = [row for row in self.environment.record_links() if row[0] == max(r[0] for r in self.environment.record_links())]
            self.assertEqual([(r[2], r[3] if row[4] != steps.COMMITTING or r[3] != 1 else 3)
                              for r, row in zip(run, shown)],
                             [(row[3], 3 if row[4] == steps.COMMITTING else 1) for row in shown])
            self.assertEqual([r[3] for r in run].count(3), 1)
        made = [c["hash"] for c in self.standin.commits() if c["accepted"]]
        self.assertEqual(sorted(made), sorted(link[len("magnet:?xt=urn:btih:"):] for link in links))
        self.assertEqual(len(self.standin.commits()), len(links))


    def test_a_second_start_during_a_run_is_offered_nothing_and_makes_no_second_task(self):
        s = self.session
        links = generated_links(15)
        self.addCleanup(os.unlink, path := temporary_text_file("".join(f"{link}\n" for link in links)))
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, path, len(links))
        steps.start_batch(s, "500")
        steps.wait_rows(s, 2)
        s.start_program(keep_record=True)  # one copy per session: the second hands over nothing and ends
        self.assertEqual(s.wait_exit(10000), 0)
        s.running = True  # the first copy, which the driver ends with the test
        with self.assertRaises(DriverError):
            s.wait_message_box(timeout_ms=2000)
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual(sorted(c["hash"] for c in self.standin.commits()), sorted(hashes_of(links)))

    def test_earlier_starts_count_their_own_and_old_journals_successes(self):
        s = self.session
        links = generated_links(6)
        s.kill_program()
        # An old journal of a run that never ended, and one that did, made its first link.
        runs = self.environment.journal_folder()
        self.environment.clear_record()
        runs.mkdir(parents=True, exist_ok=True)
        header = "\ufeff编号,标题,大小,磁力链接,提交状态,原因,时间\r\n"
        row = "{},t,1KB,{},{},,2026-12-01 10:00:00\r\n"
        (runs / "20261201-100000.csv").write_text(header + row.format(1, links[0], steps.SUBMITTED) +
                                                  ",全部完成！,,,,,2026-12-01 10:00:01\r\n", encoding="utf-8")
        (runs / "20261201-100000.links.txt").write_text(links[0] + "\r\n")
        (runs / "20261202-100000.csv").write_text(header + row.format(1, links[1], steps.SUBMITTED) +
                                                  row.format(2, links[2], steps.FAILED), encoding="utf-8")
        (runs / "20261202-100000.links.txt").write_text("".join(f"{link}\r\n" for link in links[1:4]))
        # An older one whose links file is gone is set aside; the others come in all the same.
        (runs / "20261130-100000.csv").write_text(header + row.format(1, links[5], steps.SUBMITTED), encoding="utf-8")
        s.start_program(keep_record=True)
        aside = s.wait_message_box()
        self.assertEqual(aside.text, "有1个旧的提交日志无法读取，未导入，已移到它们旁边的unreadable文件夹。")
        steps.answer(s, aside, "OK")
        self.assertEqual([p.name for p in (runs / "unreadable").iterdir()], ["20261130-100000.csv"])
        question = s.wait_message_box()
        self.assertEqual(question.text, "上次提交没有完成：已处理2/3条，成功1条，失败1条。是否载入尚未成功的2条链接？")
        steps.answer(s, question, steps.NO)
        self.assertEqual((len(list((runs / "imported").iterdir())), list(runs.glob("*.csv"))), (4, []))

        # Their successes and this start's own count against a list imported again: Enter sends only the rest.
        self.addCleanup(os.unlink, path := temporary_text_file("".join(f"{link}\n" for link in links[:4])))
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, path, 4)
        steps.start_batch(s, "0")
        question = s.wait_message_box()
        self.assertEqual(question.text, "列表中有2条链接以前已提交成功。是否只提交其余的2条？")
        s.press_key(question.handle, steps.VK_RETURN)
        s.wait_gone(question.handle)
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        s.kill_program()
        s.start_program(keep_record=True)
        self.assertEqual(steps.idle(s), (steps.START_CAPTION, False))
        steps.sign_in(s, USER, USER_ID)
        self.addCleanup(os.unlink, again := temporary_text_file("".join(f"{link}\n" for link in links[:4] + ["x"])))
        steps.import_links(s, again, 5)
        steps.start_batch(s, "0")
        question = s.wait_message_box()
        self.assertEqual(question.text, "列表中的5条链接：以前已提交成功4条，不是磁力链接1条。是否全部重新提交？")
        s.press_key(question.handle, steps.VK_RETURN)
        s.wait_gone(question.handle)
        self.assertEqual(steps.idle(s), (steps.START_CAPTION, False))
        self.assertEqual(sorted(c["hash"] for c in self.standin.commits()), sorted(hashes_of(links[2:4])))


class ResponsivenessTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")
    LINKS = 1000

    def test_gui_answers_promptly_during_a_long_batch(self):
        s = self.session
        content = "".join(f"magnet:?xt=urn:btih:{i * 2654435761 % (1 << 160):040x}\n" for i in range(1, self.LINKS + 1))
        links = temporary_text_file(content)
        self.addCleanup(os.unlink, links)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, links, self.LINKS)
        main = steps.start_batch(s, "0")
        s.wait_for(lambda: len(steps.report_rows(s)) >= 1, timeout=30, message="the first row")
        probe = s.probe(main, interval_ms=20, duration_ms=10000)
        print(f"\nround trips during the batch: {probe.count}, p50 {probe.p50:.1f} ms, "
              f"p99 {probe.p99:.1f} ms, max {probe.max:.1f} ms", file=sys.stderr)
        self.assertEqual(probe.failures, 0)
        self.assertLess(probe.p99, 250)


if __name__ == "__main__":
    unittest.main()
