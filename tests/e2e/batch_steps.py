"""The user's steps of a batch, played through the driver: sign in, import, start, wait for the end.

Shared by the batch scenarios, the run command's headless mode and the benchmark.
"""

import re
import time

from harness import MAIN_CAPTION, SIGNIN_CAPTION

MAIN_WINDOW = 0x52010001
LINK_COUNT_LABEL = 0x160119ED
IMPORT_BUTTON = 0x160119EC
SIGNIN_STATE_LABEL = 0x160119E7
INTERVAL_EDIT = 0x160119DC
PROGRESS_LABEL = 0x1601001A
PROGRESS_BAR = 0x16010018
REPORT_LIST = 0x16010017
START_BUTTON = 0x1601000B
SIGNIN_BUTTON = 0x16010007

YES, NO, CANCEL = 6, 7, 2  # the question boxes' buttons by id
VK_RETURN = 0x0D
ALL_DONE = "全部完成！"
DEFAULT_TITLE = "信息："
NOTICE_TITLE = "提示"
NOTHING_TO_DO = "数组里面没有数据，或者还没有登陆迅雷离线平台"
SUBMITTED = "提交成功！"
FAILED = "提交失败！"
UNKNOWN_STATUS = "结果未知"
COMMITTING = "提交中…"
STOPPED = "已停止。"
START_CAPTION = "开始提交"
STOP_CAPTION = "停止提交"
NOT_RESOLVED = "未能解析链接"
NETWORK_ERROR = "网络错误"
BLOCKED = "服务拒绝：该资源已被屏蔽"


def sign_in(session, name, user_id, timeout=30.0):
    """Open the sign-in window, let the stand-in's automatic sign-in set the cookies, close it."""
    main = session.wait_window(MAIN_CAPTION)
    seen = len(session.standin.requests())
    session.click(main, SIGNIN_BUTTON)
    window = session.wait_window(SIGNIN_CAPTION)
    session.wait_for(lambda: any(r["path"].startswith("/task.html") for r in session.standin.requests()[seen:]),
                     timeout=timeout, message="the sign-in page request")
    session.close_window(window)
    session.wait_gone(window)
    expected = f"{name}|{user_id}"
    session.wait_for(lambda: session.text(main, SIGNIN_STATE_LABEL) == expected, timeout=10,
                     message="the sign-in label")
    return main


def import_links(session, path, count):
    main = session.wait_window(MAIN_CAPTION)
    session.click(main, IMPORT_BUTTON)
    session.open_file(path)
    session.wait_for(lambda: session.text(main, LINK_COUNT_LABEL) == f"共{count}条链接。", timeout=30,
                     message="the link count label")


def start_batch(session, interval="0"):
    main = session.wait_window(MAIN_CAPTION)
    session.set_text(main, INTERVAL_EDIT, interval)
    session.click(main, START_BUTTON)
    return main


def start_whole_list(session, question, interval="0"):
    """Start a list that the start question asks about (its text matching the pattern `question`)
    and answer 否: the whole list, as before there was a question."""
    main = start_batch(session, interval)
    box = session.wait_message_box()
    if not re.fullmatch(question, box.text):
        raise AssertionError(f"start question {box.text!r} does not match {question!r}")
    answer(session, box, NO)
    return main


def run_whole_list(session, interval="0"):
    """Start, answer any start question so that the whole list goes; the end box, pressed."""
    start_batch(session, interval)
    box = session.wait_message_box()
    if box.text.startswith("列表中"):
        answer(session, box, YES if box.text.endswith("是否全部重新提交？") else NO)
        box = session.wait_message_box(timeout_ms=120000)
    session.press(box.handle, "OK")
    session.wait_gone(box.handle)
    return box


def wait_all_done(session, timeout_ms=120000):
    """Wait for the end-of-run box, press OK and return its text and title."""
    box = session.wait_message_box(timeout_ms=timeout_ms)
    session.press(box.handle, "OK")
    session.wait_gone(box.handle)
    return box


def idle(session):
    """After the main window's handlers have returned: (start button caption, any box showing). A run
    that had begun would still show its stop caption or its final box; a start, its question."""
    session.handled(session.wait_window(MAIN_CAPTION))
    return session.text(MAIN_CAPTION, START_BUTTON), any(w[1] == "#32770" for w in session.windows())


def answer(session, box, button):
    """Press a box's button (id or caption) and wait until the box is gone."""
    session.press(box.handle, str(button))
    session.wait_gone(box.handle)


def end_counts(rows):
    """The end box's second line for a run whose rows these are."""
    made, unknown = (sum(row[4] == status for row in rows) for status in (SUBMITTED, UNKNOWN_STATUS))
    return f"成功{made}条，失败{len(rows) - made - unknown}条" + (f"，结果未知{unknown}条" if unknown else "") + "。"


def report_rows(session):
    return session.list_rows(MAIN_CAPTION, REPORT_LIST)


def wait_rows(session, count, timeout=60.0):
    return session.wait_for(lambda: len(report_rows(session)) >= count, timeout=timeout,
                            message=f"{count} report rows")


def format_rows(rows):
    return "\n".join("\t".join(row) for row in rows)


def stopwatch():
    start = time.monotonic()
    return lambda: time.monotonic() - start
