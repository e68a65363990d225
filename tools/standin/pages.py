"""Pages of the web host and the announcement host."""

from html import escape

_HEAD = ('<!DOCTYPE html>\n<html><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8">'
         "<title>{title}</title></head>\n<body>\n")
_TAIL = "</body></html>\n"


def _page(title, inner):
    return _HEAD.format(title=escape(title)) + inner + _TAIL


def signin_page(error=None, demo_account=None):
    inner = "<h1>离线下载</h1>\n<p>请登录后使用离线下载。</p>\n"
    if error:
        inner += f'<p class="error">{escape(error)}</p>\n'
    inner += ('<form method="post" action="/login">\n'
              '<p><label>账号：<input type="text" name="account"></label></p>\n'
              '<p><label>密码：<input type="password" name="password"></label></p>\n'
              '<p><input type="submit" value="登录"></p>\n</form>\n')
    if demo_account:
        name, password = demo_account
        inner += f"<p>演示账号：{escape(name)}，密码：{escape(password)}</p>\n"
    return _page("离线下载 - 登录", inner)


def task_page(name, user_id, task_titles):
    inner = f"<h1>离线下载</h1>\n<p>欢迎，{escape(name)}（用户ID：{escape(user_id)}）</p>\n"
    if task_titles:
        inner += "<ol>\n" + "".join(f"<li>{escape(t)}</li>\n" for t in task_titles) + "</ol>\n"
    else:
        inner += "<p>暂无离线任务。</p>\n"
    inner += '<p><a href="/logout">退出登录</a></p>\n'
    return _page("离线下载 - 我的任务", inner)


def signed_out_page():
    return _page("离线下载 - 已退出", '<p>您已退出登录。</p>\n<p><a href="/task.html">重新登录</a></p>\n')


def announcement_page():
    return _page("公告", "<h2>公告</h2>\n<p>欢迎使用批量离线工具。把磁力链接导入后登录，即可一次提交全部任务。</p>\n")


def index_page():
    return _page("离线下载", '<p><a href="/task.html">离线任务</a> | <a href="/softgg.html">公告</a></p>\n')


def not_found_page(path):
    return _page("404", f"<p>找不到页面：{escape(path)}</p>\n")
