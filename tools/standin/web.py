"""The web host: sign-in, sign-out and the task page; also the announcement page."""

from urllib.parse import parse_qsl, unquote

from tools.standin import cookies, pages
from tools.standin.exchange import Reply


def _signed_in(state, reply, set_cookie_values):
    """A new session: an ended one (the signed_out fault) is over."""
    state.end_fault("signed_out")
    return _with_cookies(reply, set_cookie_values)


def _with_cookies(reply, set_cookie_values):
    reply.headers += [("Set-Cookie", value) for value in set_cookie_values]
    return reply


def _signed_in_reply(state, name, user_id):
    titles = [c["title"] or "" for c in state.commits.snapshot() if c["accepted"] and c["uid"] == user_id]
    return Reply.text(pages.task_page(name, user_id, titles))


def _demo_account(state):
    for name, (password, _) in state.accounts.items():
        return name, password
    return None


def _form_values(request):
    text = request.query if request.method == "GET" else request.body.decode("utf-8", "replace")
    return dict(parse_qsl(text, keep_blank_values=True, errors="replace"))


def login(state, request):
    values = _form_values(request)
    name, password = values.get("account", ""), values.get("password", "")
    if not name and not password:
        return Reply.text(pages.signin_page(demo_account=_demo_account(state)))
    account = state.accounts.get(name)
    if account is None or account[0] != password:
        return Reply.text(pages.signin_page("账号或密码错误。", _demo_account(state)))
    reply = Reply(status=302, headers=[("Location", "/task.html")])
    return _signed_in(state, reply, _signin_cookies(state, name, account[1]))


def task(state, request):
    options = state.options
    if request.method == "POST":
        return login(state, request)
    if options.auto_signin:
        name, user_id = options.auto_signin
        reply = _signed_in_reply(state, name, user_id)
        return _signed_in(state, reply, _signin_cookies(state, name, user_id))
    if options.auto_signout:
        return logout(state, request)
    items = cookies.parse_cookie_lines(request.header_values("Cookie"))
    name, user_id = cookies.cookie_value(items, "usrname"), cookies.cookie_value(items, "userid")
    if name and user_id and (not options.require_signin or signed_in(state, request)):
        return _signed_in_reply(state, unquote(name), user_id)
    return Reply.text(pages.signin_page(demo_account=_demo_account(state)))


def _signin_cookies(state, name, user_id):
    return cookies.signin_cookies(name, user_id, state.open_session(), state.options.cookie_domain)


def _session(request):
    return cookies.cookie_value(cookies.parse_cookie_lines(request.header_values("Cookie")),
                                cookies.SESSION_COOKIE)


def signed_in(state, request):
    """Whether the request carries the session cookie of a sign-in that has not signed out."""
    session = _session(request)
    return bool(session) and state.has_session(session)


def logout(state, request):
    session = _session(request)
    if session:
        state.close_session(session)
    reply = Reply.text(pages.signed_out_page())
    return _with_cookies(reply, cookies.signout_cookies(state.options.cookie_domain))


def redirect_loop(state, request):
    """Sends the client back to this same address, for ever."""
    return Reply(status=302, headers=[("Location", (request.origin() or "") + "/redirect-loop")])


ROUTES = {
    "/redirect-loop": redirect_loop,
    "/": lambda state, request: Reply.text(pages.index_page()),
    "/task.html": task,
    "/login": login,
    "/logout": logout,
    "/softgg.html": lambda state, request: Reply.text(pages.announcement_page()),
}
