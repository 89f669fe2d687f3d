#!/usr/bin/env python3
"""md2text.py SOURCE.md TARGET.txt: a user's guide as Notepad-friendly plain text.

No markup, paragraphs wrapped for a window without word wrap, CR LF line ends, and a BOM so that
Notepad reads it as UTF-8 whatever the system's code page.
"""
import re, sys, unicodedata

WIDTH = 76
if len(sys.argv) != 3:
    sys.exit("usage: md2text.py SOURCE.md TARGET.txt")
source, target = sys.argv[1], sys.argv[2]
# Chinese fonts draw the ambiguous-width marks, such as curly quotes, as wide as a character.
chinese = bool(re.search(r"[\u4e00-\u9fff]{20}", open(source, encoding="utf-8").read()))


def width(text):
    wide = "WFA" if chinese else "WF"
    return sum(2 if unicodedata.east_asian_width(c) in wide else 1 for c in text)


def is_wide(c):
    return unicodedata.east_asian_width(c) in "WF"


def join(lines):
    text = ""
    for line in lines:
        line = line.strip()
        if text and not (is_wide(text[-1]) and is_wide(line[0])):
            text += " "
        text += line
    return text


# Inline code, a run of blanks, one Chinese character with the punctuation that clings to it,
# or a run of anything else.
CLOSING = "，。、；：！？）》”’"
UNIT = re.compile(r"`[^`]*`|\s+|[“‘（《]*[\u2e80-\uffff][%s]*|[^\s`\u2e80-\uffff]+" % CLOSING)


def wrap(text, first, rest):
    # A line may break at a blank, or next to a Chinese character; nowhere else.
    words, chinese_before = [], False
    for unit in UNIT.findall(text.replace("**", "")):
        if unit.isspace():
            words.append(" ")
            continue
        is_chinese = not unit.startswith("`") and bool(re.search(r"[\u2e80-\uffff]", unit))
        unit = unit.strip("`")
        glued = unit[0] in CLOSING or not (is_chinese or chinese_before)
        if words and words[-1] != " " and glued:
            words[-1] += unit
        else:
            words.append(unit)
        chinese_before = is_chinese
    lines, line, blank = [], first, False
    for word in words:
        if word == " ":
            blank = line.strip() != ""
            continue
        gap = " " if blank else ""
        if line.strip() and width(line + gap + word) > WIDTH:
            lines.append(line)
            line, gap = rest, ""
        line += gap + word
        blank = False
    lines.append(line)
    return lines


out, block = [], []


def flush():
    if not block:
        return
    item = re.match(r"(\s*)(- |\d+\. )", block[0])
    if item:
        lead = item.group(1) + item.group(2)
        out.extend(wrap(join([block[0][len(lead):]] + block[1:]), lead, " " * len(lead)))
    else:
        out.extend(wrap(join(block), "", ""))
    block.clear()


for raw in open(source, encoding="utf-8").read().splitlines():
    heading = re.match(r"(#+) (.*)", raw)
    # A picture has no place in plain text: the paragraph before it says what it shows.
    if re.fullmatch(r"!\[[^\]]*\]\([^)]*\)", raw.strip()):
        continue
    if not raw.strip():
        flush()
        out.append("")
    elif raw.startswith("    ") and not block:
        out.append(raw)
    elif heading:
        flush()
        title = heading.group(2).replace("`", "")
        out += [title, ("=" if len(heading.group(1)) == 1 else "-") * width(title)]
    else:
        if re.match(r"\s*(- |\d+\. )", raw):
            flush()
        block.append(raw)
flush()

# A picture left its paragraph's two blank lines side by side.
text = re.sub(r"\n{3,}", "\n\n", "\n".join(out))
with open(target, "w", encoding="utf-8-sig", newline="\r\n") as f:
    f.write(text.strip("\n") + "\n")
