"""Checks the shipped TolvVorel.exe as a file: 32-bit GUI program, one file, system DLLs only."""
import os
import re
import subprocess
import sys
import unittest

BUILD = os.environ.get("VOREL_SHIPPED_DIR", os.path.join(os.path.dirname(__file__), "../../build/win"))
EXE = os.path.join(BUILD, "TolvVorel.exe")

# DLLs that every Windows from XP on carries.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "dsound.dll", "gdi32.dll",
    "gdiplus.dll", "kernel32.dll", "msimg32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "version.dll", "winmm.dll", "wininet.dll",
    "urlmon.dll", "imm32.dll", "uxtheme.dll", "oleacc.dll", "psapi.dll", "dbghelp.dll",
}


def objdump(*args):
    return subprocess.run(["i686-w64-mingw32-objdump", *args, EXE], check=True,
                          capture_output=True, text=True).stdout


class ShippedExecutable(unittest.TestCase):
    def test_is_a_32_bit_gui_program(self):
        headers = objdump("-f", "-p")
        self.assertIn("file format pei-i386", headers)
        self.assertRegex(headers, r"Subsystem\s+00000002")  # Windows GUI
        # XP refuses images that ask for a subsystem version above 5.1.
        major = int(re.search(r"MajorSubsystemVersion\s+(\d+)", headers).group(1))
        self.assertLessEqual(major, 5)

    def test_imports_only_system_dlls(self):
        imports = {m.lower() for m in re.findall(r"DLL Name: (\S+)", objdump("-p"))}
        self.assertTrue(imports, "no imports parsed")
        self.assertEqual(imports - SYSTEM_DLLS, set())
        for name in ("libgcc_s_dw2-1.dll", "libstdc++-6.dll", "libwinpthread-1.dll"):
            self.assertNotIn(name, imports)
        # Not on the system's known-library list: imported, they would be looked for in the
        # program's folder first. The program loads them from the system folder itself.
        self.assertEqual(imports & {"msimg32.dll", "winmm.dll", "dsound.dll", "dbghelp.dll"}, set())

    def test_carries_manifest_icon_and_version(self):
        with open(EXE, "rb") as f:
            data = f.read()
        self.assertIn(b'level="requireAdministrator"', data)
        self.assertIn(b'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', data)
        self.assertIn("VorelTolv登录器".encode("utf-16-le"), data)
        self.assertIn("3.0.0.1".encode("utf-16-le"), data)


if __name__ == "__main__":
    if not os.path.exists(EXE):
        sys.exit(f"{EXE} not built")
    unittest.main(verbosity=2)
