"""The soak's hang verdict judges what a program does, not how long the machine takes: the menu's plain start is
no hang, and a program that spins or one that blocks forever is one."""
import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "soak"))
import soak  # noqa: E402

NEVER_ENDS = os.path.join(soak.ROOT, "build", "tests", "soak")


def test_a_program_that_spins_or_blocks_is_a_hang(phone, tmp_path):
    pristine = str(tmp_path / "pristine")
    soak.boot_phone(phone, pristine)
    cpu_budget = soak.SPIN_STARTS * soak.plain_start_cpu(phone, pristine)  # three plain starts, each no hang
    for kind, verdict in (("spinning", "spinning: "), ("blocked", "stuck: ")):
        soak.restore(phone, pristine)
        os.makedirs(phone.path("Temp/" + kind))
        shutil.copy(os.path.join(NEVER_ENDS, kind, "Tolvane.exe"), phone.path("Temp/" + kind))
        code, seconds, cpu, hang = soak.run_one(phone, 1, "P:\\Temp\\%s\\Tolvane.exe" % kind, cpu_budget)
        print("%s: %s after %.0f s" % (kind, hang, seconds))
        assert code is None and hang and hang.startswith(verdict), (kind, code, hang)
        assert not phone.menu_pids(), "a hung program is ended"
