#!/usr/bin/env python3
"""End-to-end test runner.

  run_e2e.py --build DIR --work DIR setup        start Xvfb, boot the template
  run_e2e.py --build DIR --work DIR test NAME    run one test
  run_e2e.py --build DIR --work DIR cleanup      stop Xvfb, remove the template
  run_e2e.py --build DIR --work DIR all          all of it, every test
  run_e2e.py list                                the test names
"""

import argparse
import sys
import time
import traceback

# No bytecode caches in the source tree.
sys.dont_write_bytecode = True

import harness  # noqa: E402
import tests  # noqa: E402


def run_test(build, work, name):
    start = time.monotonic()
    console = harness.Console(build, work, name)
    try:
        tests.TESTS[name](console)
    except Exception:
        traceback.print_exc()
        print(f"FAILED {name} ({time.monotonic() - start:.1f}s); Wine logs in {console.logs}")
        return False
    finally:
        console.close()
    print(f"PASSED {name} ({time.monotonic() - start:.1f}s)")
    return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", help="the Windows build folder")
    parser.add_argument("--work", help="scratch folder for the display state and prefixes")
    parser.add_argument("command", choices=["setup", "cleanup", "test", "all", "list"])
    parser.add_argument("name", nargs="?")
    a = parser.parse_args()

    if a.command == "list":
        print("\n".join(tests.TESTS))
        return 0
    if a.command == "setup":
        harness.setup(a.work)
        return 0
    if a.command == "cleanup":
        harness.cleanup(a.work)
        return 0
    if a.command == "test":
        return 0 if run_test(a.build, a.work, a.name) else 1
    try:
        harness.setup(a.work)
        results = [run_test(a.build, a.work, name) for name in tests.TESTS]
    finally:
        harness.cleanup(a.work)
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
