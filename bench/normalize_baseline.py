#!/usr/bin/env python3
"""The work of `pgptool normalize FILE` written as plainly as a user would
write it: the yardstick the tool's speed is measured against (scripts/bench).

It reads the file (UTF-8, else GB18030), drops blank, comment and control
lines, makes aliases and shell commands of the rest (placeholder names for
lines without a comma), upper-cases and trims the names, settles duplicates
(the later definition of a name wins; an earlier one with the same command is
dropped, with another command it is left out of the file), sorts each list by
name, letter case aside, and writes both sections in the file's layout to
standard output. It keeps to the same work, not to every byte of it."""
import sys
import time


def clean_command(command):
    command = command.strip(" ")
    start = 0
    while len(command) - start > 1 and not (42 < ord(command[start]) <= 122):
        start += 1
    return command[start:]


def main(path):
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8-sig")
    except UnicodeDecodeError:
        text = raw.decode("gb18030", errors="replace")
    aliases, shells, placeholder = [], [], 0
    for line in text.replace("\r\n", "\n").replace("\r", "\n").split("\n"):
        if not line.strip(" ") or line[0] == ";" or ord(line[0]) < 32 or ord(line[0]) >= 0x80:
            continue
        parts = line.split(",")
        if len(parts) == 1:
            placeholder += 1
            aliases.append(("$" * placeholder, clean_command(line)))
        elif len(parts) == 2 and parts[1] == "":
            placeholder += 1
            aliases.append((line, "?" * placeholder))
        elif len(parts) == 2:
            aliases.append((parts[0], clean_command(parts[1])))
        else:
            prompt = parts[3]
            if prompt.startswith("*"):
                prompt = prompt[1:]
            shells.append((parts[0], parts[1], parts[2], prompt))

    def settle(rows):
        rows = [(name.strip(" ").upper(),) + tuple(f.strip(" ") for f in rest)
                for name, *rest in rows]
        last = {}
        for i, row in enumerate(rows):
            last[row[0]] = i
        kept = [row for i, row in enumerate(rows) if last[row[0]] == i]
        return sorted(kept, key=lambda row: row[0].lower())

    out = ["; 这个 PGP 文件是用 Vectrom 热键编辑器件里的." + " " * 27,
           "; 最后修改" + " " * 10 + time.strftime("%x   %X"), "",
           "; 用热键编辑器 (MAKERNICK 命令) 编辑这个文件." + " " * 30, "",
           "; [操作系统命令]" + " " * 19, ""]
    shell_rows = settle(shells)
    name_width = max((len(r[0]) for r in shell_rows), default=0) + 1
    command_width = max((len(r[1]) for r in shell_rows), default=0) + 1
    for name, command, flags, prompt in shell_rows:
        out.append(f"{name},{' ' * min(40, name_width - len(name))}{command},"
                   f"{' ' * min(40, command_width - len(command))}{flags},"
                   f"{'*' if prompt else ''}{prompt},")
    out += ["", "", "; [Vectrom 命令热键]" + " " * 11, ""]
    for name, command in settle(aliases):
        name = name.replace(",", "")
        out.append(f"{name},{' ' * max(1, min(40, 10 - len(name)))}*{command}")
    sys.stdout.buffer.write(("\r\n".join(out) + "\r\n\r\n").encode("utf-8"))


if __name__ == "__main__":
    main(sys.argv[1])
