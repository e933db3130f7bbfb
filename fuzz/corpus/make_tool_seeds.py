#!/usr/bin/env python3
"""Writes the seeds of the hdiutil, sudo and installer targets from the recorded tool transcripts
(JSON files with "stdout" or "stdout_chunks", "stderr" and "exit"), in the input forms the
targets read. Run by hand after the transcripts change; its output is committed.

    python3 fuzz/corpus/make_tool_seeds.py TRANSCRIPTS_FOLDER
"""

import json
import sys
from pathlib import Path

CORPUS = Path(__file__).resolve().parent
CUT = b"\xff"  # where the targets cut an input into pieces


def chunks(transcript):
    if "stdout_chunks" in transcript:
        return [chunk.encode() for chunk in transcript["stdout_chunks"]]
    return [transcript.get("stdout", "").encode()]


def hdiutil(transcript):
    return CUT.join(chunks(transcript) + [transcript["stderr"].encode()])


def sudo(transcript):
    # The prompt and the refusal arrive as separate writes.
    return transcript["stderr"].encode().replace(b"Password:", CUT + b"Password:").lstrip(CUT)


def installer(transcript):
    # What osascript's do shell script makes of the run: the output with its line breaks turned
    # into carriage returns on success, an execution error carrying the tool's words otherwise.
    status = transcript["exit"]
    output = b"".join(chunks(transcript))
    error = transcript["stderr"].encode()
    if status == 0:
        return bytes([0]) + output.rstrip(b"\n").replace(b"\n", b"\r") + b"\n" + CUT
    message = (error or output).rstrip(b"\n").replace(b"\n", b"\r")
    script = b"0:%d: execution error: " % (len(message) + 60)
    return bytes([1]) + CUT + script + message + b" (%d)\n" % status


READERS = {"hdiutil": hdiutil, "sudo": sudo, "installer": installer}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    transcripts = Path(sys.argv[1])
    for tool, read in READERS.items():
        folder = CORPUS / f"fuzz_{tool}"
        folder.mkdir(exist_ok=True)
        for old in folder.iterdir():
            old.unlink()
        for path in sorted((transcripts / tool).glob("*.json")):
            (folder / path.stem).write_bytes(read(json.loads(path.read_text())))
        print(f"{folder.name}: {len(list(folder.iterdir()))} seeds")


if __name__ == "__main__":
    main()
