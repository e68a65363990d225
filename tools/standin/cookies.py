"""Login cookies of the web host, and reading the Cookie lines that come back."""

from urllib.parse import quote

# Before 2038, so a 32-bit time on the client side still reads it as the future.
PERSISTENT_EXPIRES = "Fri, 31 Dec 2037 23:59:59 GMT"
PAST_EXPIRES = "Thu, 01 Jan 1970 00:00:01 GMT"
LOGIN_COOKIES = ("usrname", "userid")
SESSION_COOKIE = "sessionid"


def cookie_safe(value):
    """Cookie values stay plain ASCII; anything else travels as UTF-8 percent-encoding."""
    return quote(value, safe="!#$&'()*+-./:<>?@[]^_`{|}~")


def _attributes(domain):
    return "; path=/" + (f"; domain={domain}" if domain else "")


def signin_cookies(name, user_id, session, domain=None):
    """Set-Cookie values for a signed-in account: the two login cookies persist, the session does not."""
    attrs = _attributes(domain)
    return [
        f"usrname={cookie_safe(name)}; expires={PERSISTENT_EXPIRES}{attrs}",
        f"userid={cookie_safe(user_id)}; expires={PERSISTENT_EXPIRES}{attrs}",
        f"{SESSION_COOKIE}={session}{attrs}; HttpOnly",
    ]


def signout_cookies(domain=None):
    attrs = _attributes(domain)
    return [f"{n}=deleted; expires={PAST_EXPIRES}{attrs}" for n in (*LOGIN_COOKIES, SESSION_COOKIE)]


def parse_cookie_lines(lines):
    """All name/value items of the request's Cookie lines, in order."""
    items = []
    for line in lines:
        for item in line.split(";"):
            name, sep, value = item.partition("=")
            if sep and name.strip():
                items.append((name.strip(), value.strip()))
    return items


def cookie_value(items, name):
    """The first live value of the named cookie, or None."""
    for item_name, value in items:
        if item_name == name and value and value != "deleted":
            return value
    return None
