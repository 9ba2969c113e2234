#!/usr/bin/env python3
"""public_interface.py SOURCE_DIR PUBLIC_LIST [--library LIBPRELIX10_SO --objects ARCHIVE]

The public headers are the library's interface: every class or struct they define, and every class the
list names from the headers they include, is marked PRELIX10_EXPORT (or sits in an exported namespace).
Given the shared library and an archive of the same objects, every strong symbol the objects define for a
public class or a public header's namespace-scope function must be exported by the shared library, so that
an application linking libprelix10.so finds each name those headers declare.

PUBLIC_LIST: one public header a line ("prelix10/area/Name.hpp"); a line "HEADER: Class Class ..." names
the public classes of a header that also holds internal ones. Exit 1 on any fault, listing them."""
import re
import subprocess
import sys


def strip(text):
    text = re.sub(r'//[^\n]*|/\*.*?\*/', ' ', text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\])*"', '""', text)
    text = re.sub(r"'(\\.|[^'\\])*'", "''", text)
    return re.sub(r'^\s*#[^\n]*', ' ', text, flags=re.M)


def declarations(text):
    """Classes (qualified name, exported) and namespace-scope function names (qualified) of a header."""
    text = strip(text)
    classes, functions = [], []
    scopes = []  # (kind, name, exported)
    statement = ''
    i = 0
    while i < len(text):
        c = text[i]
        if c == '{':
            head = ' '.join(statement.split())
            at_namespace = all(kind == 'namespace' for kind, _, _ in scopes)
            m = re.match(r'^(?:inline\s+)?namespace\s*([\w:]*)\s*(PRELIX10_EXPORT)?$', head)
            cm = re.match(r'^(?:template\s*<.*>\s*)?(class|struct|union)\s+(PRELIX10_EXPORT\s+)?(\w+)\b(?!\s*(?:\(|::))', head)
            if m:
                exported = bool(m.group(2)) or any(e for _, _, e in scopes)
                scopes.append(('namespace', m.group(1) or '(anonymous)', exported))
            elif cm and not re.match(r'^enum', head):
                outer = [n for _, n, _ in scopes]
                exported = bool(cm.group(2)) or any(e for _, _, e in scopes)
                if all(kind != 'other' for kind, _, _ in scopes):
                    classes.append(('::'.join(outer + [cm.group(3)]), exported, at_namespace))
                scopes.append(('class', cm.group(3), exported))
            else:
                if at_namespace and '(' in head and not head.startswith(('enum', 'using', 'typedef')):
                    record_function(head, scopes, functions)
                scopes.append(('other', '', False))
            statement = ''
        elif c == '}':
            if scopes:
                scopes.pop()
            statement = ''
        elif c == ';':
            head = ' '.join(statement.split())
            if all(kind == 'namespace' for kind, _, _ in scopes) and '(' in head and \
                    not head.startswith(('using', 'typedef', 'enum', 'static_assert', 'friend')):
                record_function(head, scopes, functions)
            statement = ''
        else:
            statement += c
        i += 1
    return classes, functions


def record_function(head, scopes, functions):
    if re.search(r'\b(inline|constexpr|consteval)\b', head) or head.startswith('template'):
        return  # defined in the header: the application compiles its own copy
    m = re.search(r'(operator\s*\S+?|~?\w+)\s*\(', head)
    if m and m.group(1) not in ('decltype', 'alignas', 'sizeof', 'noexcept'):
        functions.append('::'.join([n for _, n, _ in scopes] + [m.group(1).replace(' ', '')]))


def main():
    args = sys.argv[1:]
    src, listing = args[0], args[1]
    library = args[args.index('--library') + 1] if '--library' in args else None
    objects = args[args.index('--objects') + 1] if '--objects' in args else None
    faults = []
    public_classes, public_functions = set(), set()
    for line in open(listing):
        line = line.strip()
        if not line or line.startswith('#'):
            continue
        header, _, named = line.partition(':')
        header = header.strip()
        text = open(f'{src}/src/{header}').read()
        classes, functions = declarations(text)
        wanted = set(named.split())
        for name, exported, at_namespace in classes:
            short = name.split('::')[-1]
            if wanted and short not in wanted and not any(f'::{w}::' in f'::{name}::' for w in wanted):
                continue
            public_classes.add(name)
            if at_namespace and not exported:
                faults.append(f'{header}: class {name} is not marked PRELIX10_EXPORT')
        if not wanted:
            public_functions.update(functions)
        for w in wanted:
            if not any(n.split('::')[-1] == w for n, _, _ in classes):
                faults.append(f'{header}: names {w}, which it does not define')

    if library and objects:
        def symbols(command):
            out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
            return out
        exported = set(symbols(['nm', '-D', '--defined-only', '-C', library]).split('\n'))
        exported = {line.split(' ', 2)[2] for line in exported if line.count(' ') >= 2}
        defined = symbols(['nm', '-C', '--defined-only', objects]).split('\n')
        owner = re.compile(r'^(?:(?:vtable|typeinfo|typeinfo name|VTT) for )?([\w:~<>, ]+?)(?:\(|$)')
        missing = set()
        for line in defined:
            parts = line.split(' ', 2)
            if len(parts) < 3 or parts[1] not in 'TDBRV' or parts[1] == 'V' and ' for ' not in parts[2]:
                continue
            name = parts[2]
            m = owner.match(name)
            if not m:
                continue
            qualified = m.group(1)
            scope = re.sub(r'<.*>', '', qualified)
            belongs = any(scope == c or scope.startswith(c + '::') for c in public_classes) or \
                scope in public_functions
            if belongs and name not in exported:
                missing.add(name)
        faults += [f'not exported by the shared library: {name}' for name in sorted(missing)]
        print(f'public interface: {len(public_classes)} classes, {len(public_functions)} functions checked '
              f'against {len(exported)} exported symbols')
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
