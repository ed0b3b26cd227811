#!/usr/bin/env python3
"""Checks the release packages the way the platform and an integrator use them.

Usage: check_package.py ROOT

The add-in package: MANIFEST.XML and INFO.XML well-formed with the values the
platform and the equipment library read, every library they name present and
nothing else; each library loaded from the unpacked copy by addin-host (the
Windows ones under Wine): its class, its DriverVersion equal to INFO.XML's
version, and a DeviceTest against tiger-sim answering true. Prints each
library's size and the time from load to the first answered call.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

BUNDLE = "{http://v8.1c.ru/8.2/addin/bundle}"
PROGID = "AddIn.TigerScale.w_quorlan7t4p"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def project_version(root):
    text = open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8").read()
    return re.search(r"project\(w_quorlan7t4p VERSION ([0-9.]+)", text).group(1)


def description(root):
    for line in open(os.path.join(root, "resources", "Strings.txt"), encoding="utf-8-sig"):
        number, _, text = line.rstrip("\n").partition("\t")
        if number == "65065":
            return text
    fail("no driver description in the string resources")


def expected_components(version):
    words = version.replace(".", "_")
    return {
        ("Windows", "i386", f"w_quorlan7t4p_{words}.dll"),
        ("Windows", "x86_64", f"w_quorlan7t4p64_{words}.dll"),
        ("Linux", "x86_64", f"libw_quorlan7t4p64_{words}.so"),
    }


def check_manifest(archive, version):
    manifest = ET.fromstring(archive.read("MANIFEST.XML"))
    if manifest.tag != BUNDLE + "bundle":
        fail("MANIFEST.XML root is " + manifest.tag)
    found = set()
    for component in manifest:
        if component.tag != BUNDLE + "component" or component.get("type") != "native":
            fail("MANIFEST.XML holds " + ET.tostring(component, encoding="unicode"))
        found.add((component.get("os"), component.get("arch"), component.get("path")))
    if found != expected_components(version):
        fail(f"MANIFEST.XML names {sorted(found)}")
    libraries = {name for name in archive.namelist() if name.endswith((".dll", ".so"))}
    if libraries != {path for _, _, path in found}:
        fail(f"the package holds {sorted(libraries)}, the manifest names {sorted(p for _, _, p in found)}")
    return found


def check_info(archive, root, version):
    info = ET.fromstring(archive.read("INFO.XML"))
    components = list(info)
    if info.tag != "drivers" or len(components) != 1 or components[0].tag != "component":
        fail("INFO.XML is not one component under drivers")
    attributes = components[0].attrib
    wanted = {"progid": PROGID, "name": description(root), "version": version}
    if attributes != wanted:
        fail(f"INFO.XML component is {attributes}, expected {wanted}")


class Simulator:
    def __init__(self, program):
        self.process = subprocess.Popen([program, "--port", "0"], stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        if not line.startswith("PORT "):
            fail("tiger-sim did not start: " + line)
        self.port = int(line.split()[1])

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def check_self_contained(root, library, target):
    checked = subprocess.run(["bash", os.path.join(root, "tests", "check_library.sh"), library, target],
                             capture_output=True, text=True)
    if checked.returncode != 0:
        fail(checked.stdout + checked.stderr)


def load_and_test(host, library, version, port, emulator, bound):
    script = os.path.join(os.path.dirname(library), "session.txt")
    with open(script, "w", encoding="utf-8") as session:
        session.write(f"SetParameter IPAddress s:127.0.0.1\nSetParameter IPPort d:{port}\nDeviceTest empty empty\n")
    command = emulator + [host, "--lib", library, "--timing"]
    described = subprocess.run(command + ["describe"], capture_output=True, text=True, timeout=bound)
    if "Classes: w_quorlan7t4p" not in described.stdout:
        fail(f"{library}: no class w_quorlan7t4p\n{described.stdout}{described.stderr}")
    # describe shows the whole driver description document.
    if not re.search(r'<DriverDescription [^>]*DriverVersion="' + re.escape(version) + '"', described.stdout):
        fail(f"{library}: DriverVersion is not {version}\n{described.stdout}")
    run = subprocess.run(command + ["run", script], capture_output=True, text=True, timeout=bound)
    output = run.stdout
    if not re.search(r"^DeviceTest = true\n  \[0\] Весы подключены$", output, re.M):
        fail(f"{library}: DeviceTest did not answer true\n{output}{run.stderr}")
    timing = [line for line in run.stderr.splitlines() if line.startswith("timing:")]
    print(f"{os.path.basename(library)}: {os.path.getsize(library):,} bytes; "
          f"{timing[0] if timing else 'no timing'}")


def main():
    root = os.path.abspath(sys.argv[1])
    version = project_version(root)
    package = os.path.join(root, "dist", f"w_quorlan7t4p-{version}.zip")
    with zipfile.ZipFile(package) as archive:
        bad = archive.testzip()
        if bad:
            fail("damaged entry " + bad)
        components = check_manifest(archive, version)
        check_info(archive, root, version)
        for required in ("help/md.html", "help/guide.md", "integration-guide.md"):
            if required not in archive.namelist():
                fail("the package lacks " + required)
        unpacked = tempfile.mkdtemp(prefix="wq-package-")
        archive.extractall(unpacked)

    release = os.path.join(root, "build")
    winrun = [os.path.join(root, "scripts", "winrun")]
    # A 32-bit program may run emulated here (scripts/wine-env.sh): slower, not unbounded.
    emulated = 120 * int(os.environ.get("WQ_TIME_SCALE", "1"))
    hosts = {
        "i386": (os.path.join(release, "win32-release", "bin", "addin-host.exe"), winrun, emulated),
        "x86_64-Windows": (os.path.join(release, "win64-release", "bin", "addin-host.exe"), winrun, 120),
        "x86_64-Linux": (os.path.join(release, "linux-release", "bin", "addin-host"), [], 120),
    }
    simulator = Simulator(os.path.join(release, "linux-release", "bin", "tiger-sim"))
    try:
        for os_name, arch, path in sorted(components):
            host, emulator, bound = hosts["i386" if arch == "i386" else f"{arch}-{os_name}"]
            target = "linux" if os_name == "Linux" else ("win32" if arch == "i386" else "win64")
            check_self_contained(root, os.path.join(unpacked, path), target)
            load_and_test(host, os.path.join(unpacked, path), version, simulator.port, emulator, bound)
    finally:
        simulator.stop()
        shutil.rmtree(unpacked, ignore_errors=True)
    print("package checked: manifest, info, help, and every library loaded and tested")


if __name__ == "__main__":
    main()
