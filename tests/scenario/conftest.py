"""The scenarios' phone: each scenario boots a phone of its own in a temporary folder and drives it through the
entry script as a person would. When a scenario fails, its screenshots and the phone's windows are kept in
$TMPDIR/tolvane-NAME/ for a look at what the screen showed."""
import os
import shutil
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import phone as harness  # noqa: E402


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    report = (yield).get_result()
    if report.when == "call":
        item.failed_call = report.failed


@pytest.fixture
def phone(request):
    """A phone of the scenario's own, not yet booted; shut down and removed at the end."""
    device = harness.Phone()
    yield device
    if getattr(request.node, "failed_call", False):
        kept = os.path.join(os.environ.get("TMPDIR", "/tmp"), "tolvane-" + request.node.name)
        shutil.rmtree(kept, ignore_errors=True)
        os.makedirs(kept)
        for name in os.listdir(device.device):
            if name.endswith(".png"):
                shutil.copy(os.path.join(device.device, name), kept)
        with open(os.path.join(kept, "windows.txt"), "w") as fh:
            fh.write(device.emu("windows", check=False).stdout)
        print("the screenshots and windows are kept in " + kept, file=sys.stderr)
    device.close()
