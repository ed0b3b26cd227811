#!/usr/bin/env python3
"""Tells whether this machine's kernel runs 32-bit x86 code itself.

Runs a tiny static i386 program that only waits, and reads which image the
kernel really started for it: the program itself when the kernel runs i386
code, an interpreter (qemu-i386 registered in binfmt_misc) when it is emulated.
So a handler that an earlier run registered never makes an emulated machine
look native. Prints one word: native, emulated or none (nothing runs it).
"""
import os
import signal
import struct
import subprocess
import sys
import tempfile
import time

# mov eax, 29 (pause); int 0x80; jmp back: waits until a signal ends it.
CODE = bytes.fromhex("b81d000000cd80ebf7")
BASE = 0x08048000


def tiny_i386_program() -> bytes:
    header_size, program_header_size = 52, 32
    entry = BASE + header_size + program_header_size
    elf = struct.pack("<4sBBBB8xHHIIIIIHHHHHH", b"\x7fELF", 1, 1, 1, 0,
                      2, 3, 1, entry, header_size, 0, 0,
                      header_size, program_header_size, 1, 0, 0, 0)
    size = header_size + program_header_size + len(CODE)
    segment = struct.pack("<IIIIIIII", 1, 0, BASE, BASE, size, size, 5, 0x1000)
    return elf + segment + CODE


def started_image(path: str) -> str:
    try:
        child = subprocess.Popen([path], stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except OSError:
        return ""
    try:
        # Popen returns once exec has happened; the image is the kernel's choice.
        for _ in range(50):
            try:
                return os.readlink(f"/proc/{child.pid}/exe")
            except OSError:
                time.sleep(0.01)
        return ""
    finally:
        child.send_signal(signal.SIGKILL)
        child.wait()


def main() -> int:
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "ia32-probe")
        with open(path, "wb") as f:
            f.write(tiny_i386_program())
        os.chmod(path, 0o755)
        image = started_image(path)
        if not image:
            print("none")
        elif os.path.realpath(image) == os.path.realpath(path):
            print("native")
        else:
            print("emulated")
    return 0


if __name__ == "__main__":
    sys.exit(main())
