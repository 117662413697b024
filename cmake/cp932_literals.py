#!/usr/bin/env python3
"""Copies a C++ source, rewriting the non-ASCII characters of its plain narrow string and
character literals as CP932 octal escapes.

Clang has no -fexec-charset: its builds (sanitizers, fuzzing) compile these copies, so that the
program's strings are the same Shift-JIS bytes as in the GCC builds. Comments and prefixed
literals (L"", u8"", ...) are copied unchanged.
"""
import sys


def escape(literal_body):
    out = []
    for ch in literal_body:
        if ord(ch) < 0x80:
            out.append(ch)
        else:
            # Octal escapes take at most three digits, so a following digit is never swallowed.
            out.extend("\\%03o" % b for b in ch.encode("cp932"))
    return "".join(out)


def convert(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            body = text[i + 1:j]
            k = i - 1
            while k >= 0 and (text[k].isalnum() or text[k] == "_"):
                k -= 1
            prefixed = k + 1 < i  # L"", u8"", or an identifier right before a quote
            out.append(c + (body if prefixed else escape(body)) + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main(source, target):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    with open(target, "w", encoding="utf-8") as f:
        f.write(convert(text))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
