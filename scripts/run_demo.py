#!/usr/bin/env python3
"""The main job with nobody at the screen: the program under Xvfb, the driver playing the user.

Signs in (the stand-in signs the browser in by itself), imports samples/links.txt, starts at interval 0,
answers the start question as a user would (是: only the links that need submitting), waits for the end,
prints the report rows, the lines left out and the service's record and saves screenshots.
"""

import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import batch_steps as steps  # noqa: E402
from harness import MAIN_CAPTION, E2EEnvironment, E2ESession  # noqa: E402

NAME, PASSWORD, USER_ID = "demo", "demo", "100001"
SAMPLE = REPO / "samples" / "links.txt"


def main():
    count = sum(1 for line in SAMPLE.read_bytes().splitlines() if line)
    standin_args = ("--demo-account", f"{NAME}:{PASSWORD}:{USER_ID}", "--auto-signin", f"{NAME}:{USER_ID}")
    with E2EEnvironment(standin_args=standin_args) as environment:
        # A sign-in left in the prefix's cookie store would ride along into later runs and tests.
        environment.clear_cookies()
        try:
            play_the_user(environment, count)
        finally:
            environment.clear_cookies()


def play_the_user(environment, count):
    with E2ESession(environment) as session:
        print(f"signing in as {NAME} ({USER_ID}) ...", flush=True)
        steps.sign_in(session, NAME, USER_ID)
        print(f"importing {SAMPLE} ({count} links) ...", flush=True)
        steps.import_links(session, SAMPLE, count)
        print("submitting at interval 0 ...", flush=True)
        steps.start_batch(session, "0")
        question = session.wait_message_box()
        shot_question = session.screenshot("run-question")
        print(f"question [{question.title}] {question.text}\nanswering 是 ...", flush=True)
        steps.answer(session, question, steps.YES)
        box = session.wait_message_box(timeout_ms=300000)
        shot_with_box = session.screenshot("run-finished")
        session.press(box.handle, "OK")
        session.wait_gone(box.handle)
        rows = steps.report_rows(session)
        progress = session.progress(MAIN_CAPTION, steps.PROGRESS_BAR)
        percent = session.text(MAIN_CAPTION, steps.PROGRESS_LABEL)
        shot = session.screenshot("run-report")

        print(f"\nmessage box [{box.title}] {box.text}")
        print(f"progress bar {progress[2]} of {progress[1]}, label {percent}")
        print("\nreport rows (编号, 标题, 大小, 磁力链接, 提交状态, 原因):")
        print(steps.format_rows(rows))
        sent = {row[3] for row in rows}
        lines = [line.decode("gbk") for line in SAMPLE.read_bytes().splitlines() if line]
        print("\nlines of the sample left out (a repeated torrent, a line that is no link):")
        print("\n".join(line for line in lines if line not in sent))
        print("\nthe service's record of commits (user id, content id, accepted, title):")
        for commit in session.standin.commits():
            print(f"{commit['uid']}\t{commit['cid']}\t{'accepted' if commit['accepted'] else 'refused'}\t"
                  f"{commit['title']}")
        print(f"\nscreenshots: {shot_question}\n             {shot_with_box}\n             {shot}")


if __name__ == "__main__":
    main()
