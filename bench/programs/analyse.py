# Analysis of a program file: lexing, then a check that every block is closed,
# answered as one JSON line. Usage: python3 analyse.py FILE
import json
import re
import sys

TOKEN = re.compile(r"""[ \t\r]+|//[^\n]*|\n|'[^'\n]*'|"[^"\n]*"|\d+(?:[.,]\d+)?|[^\W\d]\w*|<>|<=|>=|.""")
OPENERS = {"si": "si", "pour": "pour", "selon": "selon", "essayer": "essayer",
           "fonction": "fonction", "procédure": "procédure", "procedure": "procédure",
           "classe": "classe", "répète": "répète", "repete": "répète", "tant": "tant que"}


def words(text):
    line = 1
    for m in TOKEN.finditer(text):
        tok = m.group()
        if tok == "\n":
            line += 1
        elif tok[0].isalpha() or tok[0] == "_":
            yield tok.lower(), line


def analyse(text):
    diags = []
    stack = []
    prev = ""
    closing = False
    for word, line in words(text):
        if closing:
            block = OPENERS.get(word, word)
            if stack and stack[-1][0] == block:
                stack.pop()
            else:
                diags.append({"line": line, "msg": '"fin %s" inattendu' % block, "fatal": True})
            closing = False
        elif word == "fin":
            closing = True
        elif word in OPENERS and not (word in ("si", "selon") and prev == "sinon"):
            stack.append((OPENERS[word], line))
        prev = word
    for block, line in stack:
        diags.append({"line": line, "msg": '"fin %s" manquant' % block, "fatal": True})
    return diags


with open(sys.argv[1], encoding="utf-8") as f:
    found = analyse(f.read())
print(json.dumps({"diagnostics": found, "ok": not found}, separators=(",", ":")))
