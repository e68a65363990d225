"""Command line of the stand-in offline service."""

import argparse
import sys
import threading
from pathlib import Path

if __package__ in (None, ""):  # run as a script: make the repository's "tools" package importable
    sys.path.insert(0, str(Path(__file__).resolve().parents[2]))

from tools.standin.catalogue import CATALOGUE_PATH, Catalogue  # noqa: E402
from tools.standin.faults import FaultSet, cli_help  # noqa: E402
from tools.standin.handler import ElsewhereServer, StandinServer  # noqa: E402
from tools.standin.state import Options, ServerState, parse_signin  # noqa: E402

DEMO_ACCOUNT = "demo:demo:100001"


def _account(text):
    parts = text.split(":")
    if len(parts) != 3 or not all(parts):
        raise argparse.ArgumentTypeError("an account is NAME:PASSWORD:USERID")
    return parts


def _signin(text):
    try:
        return parse_signin(text)
    except ValueError as error:
        raise argparse.ArgumentTypeError(str(error))


def parse_arguments(argv):
    parser = argparse.ArgumentParser(prog="standin", description="Stand-in offline service on one port.")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8080, help="0 picks a free port")
    parser.add_argument("--catalogue", default=str(CATALOGUE_PATH), help="catalogue JSON file")
    parser.add_argument("--demo-account", type=_account, default=_account(DEMO_ACCOUNT),
                        metavar="NAME:PASSWORD:USERID", help=f"account shown on the sign-in page ({DEMO_ACCOUNT})")
    parser.add_argument("--no-demo-account", action="store_true")
    parser.add_argument("--account", type=_account, action="append", default=[], metavar="NAME:PASSWORD:USERID")
    parser.add_argument("--auto-signin", type=_signin, metavar="NAME:ID",
                        help="sign in on every visit of /task.html (for browsers that cannot show pages)")
    parser.add_argument("--auto-signout", action="store_true", help="sign out on every visit of /task.html")
    parser.add_argument("--require-signin", action="store_true",
                        help="interface answers only for the session cookie of a sign-in (else the sign-in page)")
    parser.add_argument("--no-charset", action="store_true", help="interface answers without charset=utf-8")
    parser.add_argument("--cookie-domain", help="domain attribute of the login cookies")
    parser.add_argument("--fault", action="append", default=[], metavar="KIND[:ARG][@TARGET]",
                        help=cli_help())
    parser.add_argument("--verbose", action="store_true", help="log requests and errors to stderr")
    return parser.parse_args(argv)


def build_state(args):
    accounts = [] if args.no_demo_account else [args.demo_account]
    accounts += args.account
    options = Options(auto_signin=args.auto_signin, auto_signout=args.auto_signout,
                      charset=not args.no_charset, cookie_domain=args.cookie_domain,
                      require_signin=args.require_signin)
    return ServerState(
        catalogue=Catalogue.load(args.catalogue),
        accounts={name: (password, user_id) for name, password, user_id in accounts},
        options=options,
        faults=FaultSet.from_cli(args.fault),
        verbose=args.verbose,
    )


def main(argv=None):
    args = parse_arguments(argv)
    try:
        state = build_state(args)
    except (OSError, ValueError, KeyError) as error:
        print(f"standin: {error}", file=sys.stderr)
        return 2
    try:
        server = StandinServer((args.host, args.port), state)
    except OSError as error:
        print(f"standin: cannot listen on {args.host}:{args.port}: {error}", file=sys.stderr)
        return 1
    # The host and port a redirect to "elsewhere" leads to: another port, as another service would be.
    elsewhere = ElsewhereServer((args.host, 0), state)
    state.elsewhere_port = elsewhere.server_address[1]
    threading.Thread(target=elsewhere.serve_forever, daemon=True).start()
    host, port = server.server_address[:2]
    print(f"standin listening on {host}:{port}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
        elsewhere.shutdown()
        elsewhere.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
