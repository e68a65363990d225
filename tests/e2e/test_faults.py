"""One batch against a service that misbehaves in every way at once: every link gets a row, no row
claims a task the service did not create, and no link holds the worker past its bound. Then runs that
pause for an ended session, a throttling service or a service that is gone."""

import os
import statistics
import sys
import time
import unittest

from harness import REPO, MAIN_CAPTION, E2ETestCase, cache_value, temporary_text_file
import batch_steps as steps

sys.path.insert(0, str(REPO))
from tools.standin.catalogue import Catalogue  # noqa: E402

USER, USER_ID = "demo", "100001"
# This build's overall limit per request (the program ships with 30 s; a test build may shorten it),
# and what a link may take beyond it (two requests, the rows and the wait that follow).
REQUEST_LIMIT_S = int(cache_value("BRINDOR_REQUEST_LIMIT_MS") or 30000) // 1000
SLACK_S = 5
# The first back-off step of this build (the program ships with 5 s; a test build may shorten it).
THROTTLE_STEP_S = int(cache_value("BRINDOR_THROTTLE_STEP_MS") or 5000) / 1000
SIGNED_OUT_PROMPT = "登录已失效。请重新登陆迅雷离线（或使用Cookie登录），完成后按“重试”继续；按“取消”停止提交。"
UNREACHABLE_PROMPT = "无法连接到服务，已连续3条链接网络错误。请检查网络后按“重试”继续；按“取消”停止提交。"
BUSY_PROMPT = "服务繁忙，已连续3条链接提交未成功。请稍后按“重试”继续；按“取消”停止提交。"
RETRY, CANCEL = 4, 2  # the box's button ids
UNKNOWN = "结果未知（任务可能已建立）"  # a commit went out and no readable answer came back


def link(byte):
    return f"magnet:?xt=urn:btih:{byte * 20}&dn=x"


# What each link's answers do: (fault kind, settings, target). Links left out are answered well.
FAULTS = {
    "02": ("drop", {}, "commit"),
    "03": ("reset", {}, "commit"),
    "04": ("error_status", {"status": 500}, "commit"),
    "05": ("error_status", {"status": 500, "body": False}, "commit"),
    "06": ("error_status", {"status": 502}, "commit"),
    "07": ("error_status", {"status": 502, "body": False}, "commit"),
    "08": ("error_status", {"status": 504}, "commit"),  # 503 is "too fast": PausedRunTest
    "09": ("error_status", {"status": 504, "body": False}, "commit"),
    "0a": ("truncated", {}, "commit"),
    "0b": ("html_page", {"count": 1}, "commit"),
    "0c": ("bad_jsonp", {}, "commit"),
    "0d": ("huge", {}, "commit"),
    "0f": ("long_header", {}, "commit"),
    "10": ("silent", {}, "commit"),
    "11": ("trickle", {}, "commit"),
    "12": ("redirect", {"location": "loop", "status": 302}, "commit"),
    "13": ("redirect", {"location": "elsewhere", "status": 302}, "commit"),
    "14": ("drop", {}, "resolve"),
    "15": ("silent", {}, "resolve"),
    "16": ("html_page", {"count": 1}, "resolve"),
    "17": ("big_headers", {"bytes": 6000}, "commit"),
    "18": ("big_headers", {"bytes": 20000}, "commit"),
    "19": ("fixed_callback", {}, "commit"),
    "1a": ("byte_order_mark", {}, "commit"),
    "1b": ("chunk_cut", {}, "resolve"),
    "1c": ("escaped_refusal", {"count": 1}, "commit"),  # read as signed out: the run pauses
}
# Confirmations in the wrappings of web frameworks, and scripts that only look like one.
FORMS = {"40": "comment", "41": "typeof", "42": "window_member", "43": "window_index", "44": "try_catch",
         "45": "bare_value", "46": "alert_back", "47": "then_reload", "48": "empty_call"}
FAULTS.update({byte: ("answer_form", {"form": form}, "commit") for byte, form in FORMS.items()})
# Titles and ids that hold what a reader of answers must not cut at: "null", quotes, commas, a
# parenthesis, and a title that reads like a sign-in page.
TRICKY_TITLES = ("27", "28", "29", "2a", "2b")
# Outcome and reason of the links whose answers must be read for what they are.
EXPECTED = {**dict.fromkeys(("0c", "17", "18", "19", "1a", "1c", "40", "41", "42", "43", "44", "45") +
                            TRICKY_TITLES, (steps.SUBMITTED, "")),
            **dict.fromkeys(("46", "47", "48"), (steps.UNKNOWN_STATUS, UNKNOWN)),
            "1b": (steps.FAILED, steps.NETWORK_ERROR)}


# Titles read from the call's arguments: "new Array" inside one, an apostrophe the service left
# unescaped, everything beyond ASCII written as \uXXXX.
TITLE_FORMS = {"2c": None, "2d": "raw", "2e": "unicode"}
# Answers that contradict themselves, or only look like a confirmation: the task may stand.
UNKNOWN_FORMS = {"49": ("no_space", "结果未知：空间不足"), "4a": ("task_limit", "结果未知：任务数已达上限"),
                 "4b": ("system_error", UNKNOWN), "4c": ("empty_object", UNKNOWN), "4d": ("null_beside_id", UNKNOWN),
                 "4e": ("line_separator", UNKNOWN), "4f": ("reserved_callee", UNKNOWN)}


def fault_settings():
    faults = {}
    for byte, (kind, settings, target) in FAULTS.items():
        faults.setdefault(kind, []).append({**settings, "target": target, "hashes": [byte * 20]})
    return faults


class FaultyServiceTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def test_one_batch_mixing_good_links_and_every_fault(self):
        s = self.session
        catalogue = Catalogue.load()
        bytes_ = [f"{n:02x}" for n in range(1, 0x22)] + list(TRICKY_TITLES) + list(FORMS)
        links = [link(b) for b in bytes_]
        path = temporary_text_file("".join(f"{one}\n" for one in links))
        self.addCleanup(os.unlink, path)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, path, len(links))
        self.standin.set_faults(fault_settings())

        steps.start_batch(s, "0")
        limit_ms = len(links) * (REQUEST_LIMIT_S + SLACK_S) * 1000
        signed_out = 0
        while not (box := s.wait_message_box(timeout_ms=limit_ms)).text.startswith(steps.ALL_DONE):
            signed_out += box.text == SIGNED_OUT_PROMPT
            s.press(box.handle, RETRY)  # a sign-in page: the run pauses
            s.wait_gone(box.handle)
        s.press(box.handle, "OK")
        ended = time.time()
        s.screenshot("faults_batch")

        rows = steps.report_rows(s)
        self.assertEqual((box.title, box.text), (steps.DEFAULT_TITLE, f"{steps.ALL_DONE}\n{steps.end_counts(rows)}"))
        self.assertEqual([row[0] for row in rows], [str(i) for i in range(1, len(links) + 1)])
        self.assertEqual([row[3] for row in rows], links)
        commits = self.standin.commits()
        made = {c["cid"] for c in commits if c["accepted"]}
        cids = [catalogue.lookup(b * 20).cid for b in bytes_]
        false_successes = [row[0] for row, cid in zip(rows, cids) if row[4] == steps.SUBMITTED and cid not in made]
        self.assertEqual(false_successes, [])
        # A fault that leaves no task is a failure; a well-answered link other than the blocked one a success.
        for byte, row, cid in zip(bytes_, rows, cids):
            if cid not in made:
                self.assertIn(row[4], (steps.FAILED, steps.UNKNOWN_STATUS), byte)
            elif byte not in FAULTS:
                self.assertEqual(row[4], steps.SUBMITTED, byte)
        self.assertEqual(rows[bytes_.index("0e")][4], steps.FAILED)
        self.assertEqual({b: tuple(rows[bytes_.index(b)][4:6]) for b in EXPECTED}, EXPECTED)
        self.assertEqual(signed_out, 3)  # two sign-in pages and the escaped refusal
        # Only a signed-out commit goes out again; not one whose connection dropped, none after a cut resolve.
        sent = [c["cid"] for c in commits]
        twice = {cids[bytes_.index(b)]: 2 for b in ("0b", "1c")}
        self.assertEqual({cid: sent.count(cid) for cid in cids if sent.count(cid) > 1}, twice)
        self.assertEqual([sent.count(cids[bytes_.index(b)]) for b in ("02", "17", "18", "1b")], [1, 1, 1, 0])
        # Each committed with the title and content id exactly as the service gave them.
        accepted = {c["hash"]: (c["title"], c["cid"]) for c in commits if c["accepted"]}
        entries = [catalogue.lookup(b * 20) for b in TRICKY_TITLES]
        self.assertEqual([accepted.get(e.info_hash) for e in entries], [(e.title, e.cid) for e in entries])

        # The redirect to another port carried neither the login cookies nor any Authorization line.
        elsewhere = self.standin.get_json("/_standin/elsewhere")
        self.assertEqual(len(elsewhere), 1)
        names = [name.lower() for name, _ in elsewhere[0]["headers"]]
        self.assertNotIn("cookie", names)
        self.assertNotIn("authorization", names)
        self.assertEqual(elsewhere[0]["method"], "GET")

        # How long each link held the worker: from its resolve request to the next link's.
        starts = {}
        for request in self.standin.requests():
            for byte in bytes_:
                if request["role"] == "interface" and byte * 20 in request["path"] and byte not in starts:
                    starts[byte] = request["time"]
        self.assertEqual(len(starts), len(bytes_))
        times = [starts[b] for b in bytes_] + [ended]
        held = {b: times[i + 1] - times[i] for i, b in enumerate(bytes_)}
        longest = max(held, key=held.get)
        print(f"\nlinks {len(links)}: held the worker max {held[longest]:.1f} s (link {longest}, "
              f"{FAULTS.get(longest, ('good',))[0]}), median {statistics.median(held.values()):.2f} s; "
              f"rows submitted {sum(r[4] == steps.SUBMITTED for r in rows)}, tasks made {len(made)}",
              file=sys.stderr)
        for byte in sorted(held, key=held.get, reverse=True)[:6]:
            print(f"  {byte} {FAULTS.get(byte, ('good',))[0]}: {held[byte]:.1f} s", file=sys.stderr)
        for byte in bytes_:  # an unanswered resolve is asked twice
            twice = FAULTS.get(byte, ("", {}, ""))[2] == "resolve"
            self.assertLess(held[byte], REQUEST_LIMIT_S * (2 if twice else 1) + SLACK_S, byte)

    def test_titles_read_by_their_tokens_and_answers_that_contradict_themselves(self):
        s, bytes_ = self.session, list(TITLE_FORMS) + list(UNKNOWN_FORMS)
        path = temporary_text_file("".join(f"{link(b)}\n" for b in bytes_))
        self.addCleanup(os.unlink, path)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, path, len(bytes_))
        self.standin.set_faults({
            "title_form": [{"form": f, "target": "resolve", "hashes": [b * 20]} for b, f in TITLE_FORMS.items() if f],
            "answer_form": [{"form": f, "target": "commit", "hashes": [b * 20]} for b, (f, _) in UNKNOWN_FORMS.items()]})
        steps.start_batch(s, "0")
        self.assertEqual(steps.wait_all_done(s).text, f"{steps.ALL_DONE}\n成功3条，失败0条，结果未知7条。")
        s.screenshot("faults_titles_and_contradictions")
        rows, entries = steps.report_rows(s), [Catalogue.load().lookup(b * 20) for b in TITLE_FORMS]
        self.assertEqual([(r[1], r[4], r[5]) for r in rows[:3]], [(e.title, steps.SUBMITTED, "") for e in entries])
        self.assertEqual([tuple(r[4:6]) for r in rows[3:]], [(steps.UNKNOWN_STATUS, why) for _, why in UNKNOWN_FORMS.values()])
        # Committed with the title, content id, sizes and indexes exactly as the service gave them.
        made = {c["hash"]: (c["title"], c["cid"], dict(c["fields"])["size"], dict(c["fields"])["findex"])
                for c in self.standin.commits() if c["accepted"]}
        self.assertEqual([made.get(e.info_hash) for e in entries],
                         [(e.title, e.cid, e.size_field, e.findex_field) for e in entries])
        # None goes out again without a question: a second start of the same list asks first.
        sent = len(self.standin.commits())
        steps.start_batch(s, "0")
        box = s.wait_message_box()
        self.assertGreater(len(box.buttons), 1, box.text)
        s.press_key(box.handle, steps.VK_RETURN)  # the default
        s.call("sleep", 1000)
        self.assertEqual(len(self.standin.commits()), sent)


def good_bytes(count):  # all but the blocked 0e
    return [f"{n:02x}" for n in range(1, count + 2) if n != 0x0E][:count]


class PausedRunTest(E2ETestCase):
    """Sign-out, throttling and a service that is gone pause a run; they do not fail it link by link."""
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")
    desktop = "brindor"  # where the system does not keep a topmost box above the window activated last

    def start(self, count, faults):
        self.links_file = path = temporary_text_file("".join(f"{link(byte)}\n" for byte in good_bytes(count)))
        self.addCleanup(os.unlink, path)
        steps.sign_in(self.session, USER, USER_ID)
        steps.import_links(self.session, path, count)
        self.standin.set_faults(faults)
        return steps.start_batch(self.session, "0")

    def paused_then(self, prompt, rows, button, text, before=lambda box: None):
        box = self.session.wait_message_box(timeout_ms=60000, title=steps.NOTICE_TITLE)
        self.assertEqual((box.text, box.buttons), (prompt, [(RETRY, "重试"), (CANCEL, "取消")]))
        self.assertEqual(len(steps.report_rows(self.session)), rows)
        before(box)
        self.session.press(box.handle, button)
        self.session.wait_gone(box.handle)
        return self.paused_end(text)

    def paused_end(self, text, timeout_ms=120000):
        # Whatever was opened during the pause, the end box blocks only the worker.
        end = self.session.wait_message_box(timeout_ms=timeout_ms)
        self.assertEqual((end.text, self.session.enabled(MAIN_CAPTION)), (text, True))
        steps.answer(self.session, end, "OK")
        return [row[4] for row in steps.report_rows(self.session)]

    def test_signed_out_at_link_4_pauses_until_signed_in_again(self):
        self.start(10, {"signed_out": {"target": "commit", "hashes": [f"{n:02x}" * 20 for n in range(4, 11)]}})
        s = self.session
        def sign_in_as_another(box):  # the main window stays usable meanwhile, and says why it waits
            self.assertEqual(s.text(MAIN_CAPTION, steps.PROGRESS_LABEL), "已暂停：登录已失效")
            s.screenshot("paused_run_label")
            # Clicks in the main window, the list's among them, leave the box in front: it shows its text
            # where the list is empty (the window list has the box above all the time).
            dark = lambda: sum(max(p) < 100 for row in s.pixels(box.handle) for p in row)
            for at in ((30, 200), (400, 300)):
                s.mouse_click(MAIN_CAPTION, steps.REPORT_LIST, at)
                s.call("sleep", 500)
                self.assertGreater(dark(), 100, "the box's text in front")
            # The cookie dialog opened from the system menu, as the box suggests, keeps the keyboard.
            s.chord(MAIN_CAPTION, 0x12, 0x20)  # Alt+Space
            s.menu_keys("UP", "RETURN")
            dialog = s.wait_window("使用Cookie登录")
            s.wait_for(lambda: s.focused(dialog) == 0x16010022, message="the keyboard in the dialog's box")
            s.close_window(dialog)
            s.wait_gone(dialog)
            s.wait_for(lambda: dark() > 100, message="the box in front again")
            self.standin.set_options(auto_signin="other:200002")
            steps.sign_in(s, "other", "200002")
        # The link that met the ended session shows as in flight until it is sent again.
        rows = self.paused_then(SIGNED_OUT_PROMPT, 4, RETRY, f"{steps.ALL_DONE}\n成功10条，失败0条。", sign_in_as_another)
        self.assertEqual(rows, [steps.SUBMITTED] * 10)
        self.assertEqual([c["uid"] for c in self.standin.commits() if c["accepted"]], [USER_ID] * 3 + ["200002"] * 7)
        # Each task counts for the account that made it: the second one is asked about its own seven.
        steps.import_links(s, self.links_file, 10)
        steps.start_batch(s, "0")
        question = s.wait_message_box()
        self.assertEqual(question.text, "列表中有7条链接以前已提交成功。是否只提交其余的3条？")
        steps.answer(s, question, CANCEL)

    def test_signed_out_then_cancel_stops(self):
        self.start(10, {"signed_out": {"target": "commit", "hashes": [f"{n:02x}" * 20 for n in range(4, 11)]}})
        self.assertEqual(self.paused_then(SIGNED_OUT_PROMPT, 4, CANCEL, f"{steps.STOPPED}\n成功3条，失败0条。"),
                         [steps.SUBMITTED] * 3)

    def test_stop_during_a_pause_is_its_cancel_at_once_and_leaves_nothing_to_press_later(self):
        s = self.session
        self.start(10, {"signed_out": {"target": "commit", "hashes": [f"{n:02x}" * 20 for n in range(4, 11)]}})
        box = s.wait_message_box(timeout_ms=60000, title=steps.NOTICE_TITLE)
        self.assertEqual(steps.report_rows(s)[3][4], steps.COMMITTING)
        s.call("sleep", 600)  # not the second click of a double click that started the run
        s.click(MAIN_CAPTION, steps.START_BUTTON)
        s.wait_gone(box.handle, timeout_ms=2000)  # no 重试 left to press
        self.assertEqual(self.paused_end(f"{steps.STOPPED}\n成功3条，失败0条。", 2000), [steps.SUBMITTED] * 3)

    def test_main_window_usable_behind_the_end_box_after_a_sign_in_during_a_run_then_a_start_question(self):
        s = self.session
        main = self.start(5, {"delay": {"ms": 800, "target": "commit"}})
        steps.wait_rows(s, 1)
        steps.sign_in(s, USER, USER_ID)
        steps.wait_all_done(s)
        self.standin.set_faults({})
        for _ in range(10):
            s.wait_for(lambda: s.text(main, steps.START_BUTTON) == steps.START_CAPTION, message="the run ended")
            s.click(main, steps.START_BUTTON)
            steps.answer(s, s.wait_message_box(), steps.YES)  # all made before: send them again
            s.call("sleep", 300)
            self.assertEqual(self.paused_end(f"{steps.ALL_DONE}\n成功5条，失败0条。")[-5:], [steps.SUBMITTED] * 5)

    def test_dropped_resolve_cut_commit_429_with_retry_after_and_a_stop_during_a_wait(self):
        first, second, third, fourth = [[f"{n:02x}" * 20] for n in range(1, 5)]
        main = self.start(4, {"drop": {"target": "resolve", "count": 1, "hashes": first},
                              "reset": {"target": "commit", "count": 1, "hashes": second},
                              "error_status": [{"status": 429, "retry_after": "2", "count": 2, "hashes": third,
                                                "target": "commit"},
                                               {"status": 503, "retry_after": "600", "hashes": fourth}]})
        self.session.wait_for(lambda: self.session.text(main, steps.PROGRESS_LABEL) == "服务繁忙，等待600秒", timeout=30)
        self.session.screenshot("throttled_label")
        elapsed = steps.stopwatch()
        self.session.click(main, steps.START_BUTTON)
        self.assertEqual(self.session.wait_message_box(timeout_ms=5000).text, f"{steps.STOPPED}\n成功2条，失败0条，结果未知1条。")
        stopped_after = elapsed()
        self.assertLess(stopped_after, 1.0)
        self.assertEqual([r[4:] for r in steps.report_rows(self.session)],
                         [[steps.SUBMITTED, ""], [steps.UNKNOWN_STATUS, UNKNOWN], [steps.SUBMITTED, ""]])
        self.assertEqual([r["hash"] for r in self.standin.resolves()].count(*first), 2)
        self.assertEqual([c["hash"] for c in self.standin.commits()].count(*second), 1)
        commits = [c for c in self.standin.commits() if c["hash"] in third]
        self.assertEqual([c["accepted"] for c in commits], [False, False, True])
        print(f"\n429 twice with Retry-After 2: {commits[2]['time'] - commits[0]['time']:.2f} s; stop after "
              f"{stopped_after:.2f} s", file=sys.stderr)
        self.assertAlmostEqual(commits[2]["time"] - commits[0]["time"], 4.0, delta=1.0)

    def test_throttling_refusals_wait_growing_steps_then_fail_as_busy(self):
        self.start(1, {"too_fast": {"count": 7, "target": "commit"}})
        self.assertEqual(steps.wait_all_done(self.session, int(THROTTLE_STEP_S * 40000) + 30000).text,
                         f"{steps.ALL_DONE}\n成功0条，失败1条。")
        self.assertEqual(steps.report_rows(self.session)[0][4:], [steps.FAILED, "服务繁忙"])
        times = [c["time"] for c in self.standin.commits()]
        waits = [b - a for a, b in zip(times, times[1:])]
        print(f"\nthrottled: waits between commits {[round(w, 2) for w in waits]} s", file=sys.stderr)
        self.assertEqual(len(times), 6)
        for k, waited in enumerate(waits):  # each step within 20 % (and the request's own time)
            self.assertTrue(0.8 * THROTTLE_STEP_S * 2 ** k <= waited <= 1.2 * THROTTLE_STEP_S * 2 ** k + 0.5, waits)

    def test_busy_for_every_request_pauses_after_three_links(self):
        self.start(4, {"error_status": {"status": 503, "retry_after": "0"}})
        self.assertEqual(self.paused_then(BUSY_PROMPT, 0, CANCEL, f"{steps.STOPPED}\n成功0条，失败3条。"),
                         [steps.FAILED] * 3)
        self.assertEqual(len(self.standin.resolves()), 3 * 6)

    def test_service_gone_at_link_5_pauses_after_3_links_and_goes_on_when_back(self):
        self.addCleanup(self.environment.restart_standin, True)
        self.start(20, {"delay": {"ms": 3000, "target": "resolve", "hashes": ["05" * 20]}})
        self.standin.resolves(wait=5, timeout_ms=30000)
        made = [c["hash"] for c in self.standin.commits() if c["accepted"]]
        self.environment.restart_standin(False)
        def back(box):
            self.assertEqual(self.session.text(MAIN_CAPTION, steps.PROGRESS_LABEL), "已暂停：无法连接到服务")
            self.session.screenshot("paused_unreachable_label")
            self.environment.restart_standin(True)
        self.assertEqual(self.paused_then(UNREACHABLE_PROMPT, 4, RETRY, f"{steps.ALL_DONE}\n成功20条，失败0条。", back), [steps.SUBMITTED] * 20)
        made += [c["hash"] for c in self.standin.commits() if c["accepted"]]
        self.assertEqual(sorted(made), [byte * 20 for byte in good_bytes(20)])


if __name__ == "__main__":
    unittest.main()
