import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import STANDIN, ServerProcess, get_json, post_json, request  # noqa: E402

server = None


def setUpModule():
    global server
    server = ServerProcess(STANDIN, "--account", "小明:secret:7788")


def tearDownModule():
    server.stop()


def cookies_of(answer):
    """name -> full Set-Cookie value."""
    return {value.split("=", 1)[0]: value for value in answer.header_values("Set-Cookie")}


def form_post(port, path, body):
    return request(port, "POST", path, body=body.encode("utf-8"))


class SignInTest(unittest.TestCase):
    def setUp(self):
        post_json(server.port, "/_standin/reset", {})

    def test_task_page_is_a_sign_in_form_in_utf8(self):
        answer = request(server.port, "GET", "/task.html")
        self.assertEqual(answer.header_values("Content-Type"), ["text/html; charset=utf-8"])
        page = answer.text()
        for part in ['<form method="post" action="/login">', 'name="account"', 'name="password"', "登录"]:
            self.assertIn(part, page)
        self.assertEqual(answer.header_values("Set-Cookie"), [])

    def test_sign_in_sets_persistent_login_cookies_and_a_session(self):
        for path, body, name, user_id in [("/login", "account=demo&password=demo", "demo", "100001"),
                                          ("/task.html", "account=%E5%B0%8F%E6%98%8E&password=secret", "%E5%B0%8F%E6%98%8E", "7788")]:
            with self.subTest(path=path):
                cookies = cookies_of(form_post(server.port, path, body))
                self.assertEqual(cookies["usrname"], f"usrname={name}; expires=Fri, 31 Dec 2037 23:59:59 GMT; path=/")
                self.assertEqual(cookies["userid"], f"userid={user_id}; expires=Fri, 31 Dec 2037 23:59:59 GMT; path=/")
                self.assertRegex(cookies["sessionid"], r"^sessionid=[0-9a-f]{32}; path=/; HttpOnly$")

    def test_wrong_password_or_unknown_account_sets_nothing(self):
        for body in ["account=demo&password=nope", "account=nobody&password=demo", "account=demo", "%zz=%"]:
            with self.subTest(body=body):
                answer = form_post(server.port, "/login", body)
                self.assertEqual((answer.status, answer.header_values("Set-Cookie")), (200, []))

    def test_sign_out_deletes_all_three_cookies(self):
        cookies = cookies_of(request(server.port, "GET", "/logout"))
        self.assertEqual(sorted(cookies), ["sessionid", "userid", "usrname"])
        for value in cookies.values():
            self.assertRegex(value, r"^\w+=deleted; expires=Thu, 01 Jan 1970 00:00:01 GMT; path=/$")

    def test_signed_in_task_page_offers_sign_out(self):
        page = request(server.port, "GET", "/task.html", ["Cookie: usrname=demo; userid=100001"]).text()
        self.assertIn("欢迎，demo（用户ID：100001）", page)
        self.assertIn('href="/logout"', page)

    def test_automatic_sign_in_and_sign_out_on_the_task_page(self):
        post_json(server.port, "/_standin/options", {"auto_signin": "张三:4242"})
        cookies = cookies_of(request(server.port, "GET", "/task.html"))
        self.assertTrue(cookies["usrname"].startswith("usrname=%E5%BC%A0%E4%B8%89;"))
        self.assertTrue(cookies["userid"].startswith("userid=4242;"))
        post_json(server.port, "/_standin/options", {"auto_signin": None, "auto_signout": True})
        cookies = cookies_of(request(server.port, "GET", "/task.html"))
        self.assertTrue(cookies["userid"].startswith("userid=deleted;"))
        self.assertEqual(get_json(server.port, "/_standin/options"),
                         {"auto_signin": None, "auto_signout": True, "charset": True})

    def test_bad_options_are_refused(self):
        for value in [{"auto_signin": "no-colon"}, {"charset": "yes"}, {"colour": 1}, [1]]:
            with self.subTest(value=value):
                self.assertEqual(post_json(server.port, "/_standin/options", value).status, 400)

    def test_announcement_page(self):
        answer = request(server.port, "GET", "/softgg.html")
        self.assertEqual(answer.status, 200)
        self.assertIn("公告", answer.text())


class CommandLineSignInTest(unittest.TestCase):
    def test_auto_signin_and_cookie_domain_options(self):
        own = ServerProcess(STANDIN, "--auto-signin", "alice:1234", "--cookie-domain", "web.example.test")
        try:
            cookies = cookies_of(request(own.port, "GET", "/task.html"))
            self.assertEqual(cookies["userid"],
                             "userid=1234; expires=Fri, 31 Dec 2037 23:59:59 GMT; path=/; domain=web.example.test")
        finally:
            own.stop()

    def test_interface_answers_only_a_session_signed_in_here(self):
        own = ServerProcess(STANDIN, "--require-signin")
        try:
            resolve = "/interface/url_query?callback=queryUrl&u=magnet:?xt=urn:btih:" + "ab" * 20
            session = cookies_of(form_post(own.port, "/login", "account=demo&password=demo"))["sessionid"][:42]
            answered = lambda cookie: request(own.port, "GET", resolve, [f"Cookie: userid=1; {cookie}"]).text()
            self.assertTrue(answered(session).startswith("queryUrl(1,"))
            self.assertIn('"msg":"未登录"', answered("sessionid=" + "0" * 32))
            request(own.port, "GET", "/logout", [f"Cookie: {session}"])
            self.assertIn('"msg":"未登录"', answered(session))
        finally:
            own.stop()

if __name__ == "__main__":
    unittest.main()
