#!/usr/bin/env python3
"""Counts the public member functions of each class declared in the headers
under the given folders, largest first: `scripts/public-functions.py src/app
src/document`. Constructors, destructors, deleted and defaulted members are
not counted, nor Qt signals (slots are). A heuristic over the text, good
enough to see which classes have grown too wide."""
import re, sys, pathlib

def strip(text):
    text = re.sub(r'//[^\n]*', '', text)
    text = re.sub(r'/\*.*?\*/', '', text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\])*"', '""', text)
    text = re.sub(r'\b(Q_OBJECT|Q_GADGET)\b', ';', text)
    return text

def classes(text):
    """Yields (name, body) for every class/struct body, nested ones too."""
    for m in re.finditer(r'\b(class|struct)\s+(?:\w+\s+)*?(\w+)\s*(?:final\s*)?(?::[^{;]*)?\{', text):
        start = m.end()
        depth, i = 1, start
        while depth and i < len(text):
            depth += {'{': 1, '}': -1}.get(text[i], 0)
            i += 1
        yield m.group(1), m.group(2), text[start:i - 1]

def public_functions(kind, name, body):
    access = 'public' if kind == 'struct' else 'private'
    count, depth, stmt = 0, 0, ''
    i = 0
    while i < len(body):
        c = body[i]
        if depth == 0:
            m = re.match(r'\s*(public|protected|private|signals|Q_SIGNALS)\s*(slots|Q_SLOTS)?\s*:(?!:)', body[i:])
            if m and not stmt.strip():
                access = m.group(1)
                i += m.end()
                continue
        if c == '{':
            if depth == 0:
                count += is_function(stmt, name, access)
                stmt = ''
            depth += 1
        elif c == '}':
            depth -= 1
            if depth == 0: stmt = '' if stmt.strip() == '' else stmt
        elif depth == 0:
            if c == ';':
                count += is_function(stmt, name, access)
                stmt = ''
            else:
                stmt += c
        i += 1
    return count

def is_function(stmt, name, access):
    s = ' '.join(stmt.split())
    if access != 'public' or '(' not in s: return 0
    if re.match(r'^(using|typedef|friend|enum|static_assert|Q_OBJECT|Q_PROPERTY|Q_ENUM)\b', s): return 0
    if s.startswith('class ') or s.startswith('struct '): return 0
    head = s.split('(')[0].strip()
    last = re.split(r'[\s*&:]+', head)[-1] if head else ''
    if last in (name, '~' + name) or head.endswith('~' + name): return 0
    if re.search(r'=\s*(delete|default)\s*$', s): return 0
    if '=' in head: return 0  # a data member with an initialiser
    if 'operator=' in s: return 0
    return 1

rows = []
for folder in sys.argv[1:]:
    for path in sorted(pathlib.Path(folder).rglob('*.h')):
        text = strip(path.read_text(errors='replace'))
        for kind, name, body in classes(text):
            rows.append((public_functions(kind, name, body), name, str(path)))
for n, name, path in sorted(rows, key=lambda r: (-r[0], r[1])):
    print(f'{n:4d}  {name:32s} {path}')
