#!/usr/bin/env python3
"""Writes the seeds of the hdiutil, sudo, installer and shell-quoting targets, in the input forms
the targets read, from the answers below (each as the tools print them: standard output whole or
in the pieces it arrived in, standard error and the exit status) and from the names below. Run
by hand after changing it; its output is committed.

    python3 fuzz/corpus/make_tool_seeds.py
"""

from pathlib import Path

CORPUS = Path(__file__).resolve().parent
CUT = b"\xff"  # where the targets cut an input into pieces


def encoded(text):
    return text if isinstance(text, bytes) else text.encode()


def chunks(transcript):
    if "stdout_chunks" in transcript:
        return [encoded(chunk) for chunk in transcript["stdout_chunks"]]
    return [encoded(transcript.get("stdout", ""))]


def hdiutil(transcript):
    return CUT.join(chunks(transcript) + [encoded(transcript["stderr"])])


def sudo(transcript):
    # The prompt and the refusal arrive as separate writes.
    return encoded(transcript["stderr"]).replace(b"Password:", CUT + b"Password:").lstrip(CUT)


def installer(transcript):
    # What osascript's do shell script makes of the run: the output with its line breaks turned
    # into carriage returns on success, an execution error carrying the tool's words otherwise.
    status = transcript["exit"]
    output = b"".join(chunks(transcript))
    error = encoded(transcript["stderr"])
    if status == 0:
        return bytes([0]) + output.rstrip(b"\n").replace(b"\n", b"\r") + b"\n" + CUT
    message = (error or output).rstrip(b"\n").replace(b"\n", b"\r")
    script = b"0:%d: execution error: " % (len(message) + 60)
    return bytes([1]) + CUT + script + message + b" (%d)\n" % status


IMAGE = "/Users/alex/Desktop/Install macOS Sonoma"
TRANSCRIPTS = {
    "hdiutil": {
        "create-ok": {"stdout": f"created: {IMAGE}.dmg\n", "stderr": "", "exit": 0},
        "attach-ok": {
            "stdout": "/dev/disk7          \tGUID_partition_scheme          \t\n"
            "/dev/disk7s1        \tApple_HFS                      \t/Volumes/install_build\n",
            "stderr": "",
            "exit": 0,
        },
        "convert-dots": {
            "stdout_chunks": [
                "Reading Driver Descriptor Map (DDM : 0)…\n",
                "Reading GPT Header (Primary GPT Header : 1)…\n",
                "...............",
                "..............................\n",
                f"\tcreated: {IMAGE}.cdr\r\n",
            ],
            "stderr": "",
            "exit": 0,
        },
        "convert-failed": {
            "stdout": "",
            "stderr": "hdiutil: convert failed - No space left on device\n",
            "exit": 1,
        },
        "detach-busy": {
            "stdout": "",
            "stderr": 'hdiutil: couldn\'t unmount "disk7" - Resource busy\n',
            "exit": 16,
        },
        "created-split-character": {
            "stdout_chunks": [b"created: /Volumes/\xe5\x8d", b"\xb7/image.cdr\n"],
            "stderr": "",
            "exit": 0,
        },
        "attach-bad-bytes": {
            "stdout": "",
            "stderr": b"hdiutil: attach failed - /Volumes/\xc3(\x80 image\n",
            "exit": 1,
        },
    },
    "sudo": {
        "accepted": {"stderr": "Password:", "exit": 0},
        "retry-then-accepted": {"stderr": "Password:Sorry, try again.\nPassword:", "exit": 0},
        "given-up": {
            "stderr": "Password:Sorry, try again.\nPassword:Sorry, try again.\nPassword:\n"
            "sudo: 3 incorrect password attempts\n",
            "exit": 1,
        },
        "one-attempt": {"stderr": "Password:\nsudo: 1 incorrect password attempt\n", "exit": 1},
        "no-password": {"stderr": "Password:\nsudo: no password was provided\n", "exit": 1},
        "not-in-sudoers": {
            "stderr": "Password:\nalex is not in the sudoers file.\n",
            "exit": 1,
        },
    },
    "installer": {
        "successful": {
            "stdout": "installer: Package name is macOS Sonoma\n"
            "installer: Installing at base path /\n"
            "installer: The install was successful.\n",
            "stderr": "",
            "exit": 0,
        },
        "error": {
            "stdout": "",
            "stderr": "installer: Error - the package path specified was invalid: "
            "'/Users/alex/Downloads/InstallAssistant.pkg'.\n",
            "exit": 1,
        },
        "failed": {
            "stdout": "installer: Package name is macOS Sonoma\n"
            "installer: Installing at base path /\n"
            "installer: The install failed. (The Installer encountered an error that caused "
            "the installation to fail.)\n",
            "stderr": "",
            "exit": 1,
        },
        "must-be-root": {
            "stdout": "",
            "stderr": "installer: Must be run as root to install this package.\n",
            "exit": 1,
        },
    },
}

# Names for the quoting target: its first byte picks shellQuoted (bit 2 clear) or
# shellSingleQuoted (set), and UTF-8 (bit 1 clear) or one character per byte (set), which is
# how GBK bytes, whose second byte can be a backslash, reach the shells unchanged.
UTF8, LATIN1, SINGLE = 0, 1, 2
NAMES = {
    "plain-path": (UTF8, b"/Volumes/USB"),
    "spaces": (UTF8, b"/Volumes/My Stick"),
    "single-quotes": (UTF8, b"Anna's 'stick'"),
    "only-quote": (SINGLE, b"'"),
    "substitution": (UTF8, b"$(touch CANARY)`touch CANARY`${HOME}"),
    "separators": (UTF8, b"a; b && c | d > e < f & g"),
    "newlines": (UTF8, b"first\nsecond\r\n"),
    "leading-equals": (UTF8, b"=ls"),
    "leading-tilde": (UTF8, b"~root/x"),
    "tilde-after-equals": (UTF8, b"a=~:~"),
    "leading-dash": (UTF8, b"-rf"),
    "leading-hash": (UTF8, b"#comment"),
    "glob": (UTF8, b"*?[a-z]{a,b}"),
    "non-ascii": (UTF8, "Ünïcødé 卷".encode()),
    "gbk-backslash-trail": (LATIN1, b"\xb1\xed\x81\\\x95\\'"),
    "gbk-then-quote": (LATIN1 | SINGLE, b"\x81'\x95\\"),
    "invalid-utf8": (UTF8, b"\xc3(\x80\xff\xfe/\xed\xa0\x80"),
    "latin1-bytes": (LATIN1, b"caf\xe9 \x83\x84\x9f"),
    "empty": (UTF8, b""),
}


def shell_quote_seeds():
    seeds = {}
    for name, (mode, text) in NAMES.items():
        seeds[name] = bytes([mode]) + text
    return seeds


READERS = {"hdiutil": hdiutil, "sudo": sudo, "installer": installer}


def write_seeds(target, seeds):
    folder = CORPUS / target
    folder.mkdir(exist_ok=True)
    for old in folder.iterdir():
        old.unlink()
    for name, data in seeds.items():
        (folder / name).write_bytes(data)
    print(f"{target}: {len(seeds)} seeds")


def main():
    for tool, read in READERS.items():
        write_seeds(f"fuzz_{tool}", {name: read(t) for name, t in TRANSCRIPTS[tool].items()})
    write_seeds("fuzz_shell_quote", shell_quote_seeds())


if __name__ == "__main__":
    main()
