#!/usr/bin/env python3
"""Checks the application manifest built into a Windows program: per-monitor
DPI awareness (version 2, with the per-monitor and system-aware fallbacks),
the Windows versions it supports, and the execution level it asks for.

    check_manifest.py PROGRAM.exe LEVEL     LEVEL: requireAdministrator, or none

"none": no requested execution level at all, so that Windows keeps
redirecting the program's writes under HKEY_LOCAL_MACHINE for a standard
user. Prints one line per check; exits 1 when one fails.
"""
import sys
import xml.etree.ElementTree as ET

ASM_V3 = '{urn:schemas-microsoft-com:asm.v3}'
COMPAT = '{urn:schemas-microsoft-com:compatibility.v1}'
WS_2005 = '{http://schemas.microsoft.com/SMI/2005/WindowsSettings}'
WS_2016 = '{http://schemas.microsoft.com/SMI/2016/WindowsSettings}'
# Windows Vista, 7, 8, 8.1, and 10 and 11 (one identifier).
WINDOWS_VERSIONS = {
    '{e2011457-1546-43c5-a5fe-008deee3d3f0}', '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}',
    '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}', '{1f676c76-80e1-4239-95bb-83d0f6d0da78}',
    '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'}


def manifest_of(path):
    """The manifest's text: the resource compiler keeps it as it is, one XML
    document from its declaration to the end of its assembly."""
    data = open(path, 'rb').read()
    start = data.find(b'<?xml')
    end = data.find(b'</assembly>', start)
    if start < 0 or end < 0:
        return None
    return data[start:end + len(b'</assembly>')].decode('utf-8')


def main(path, level):
    text = manifest_of(path)
    if text is None:
        print(f'FAILED: {path} has no manifest')
        return 1
    root = ET.fromstring(text)
    failures = 0

    def check(what, ok, got):
        nonlocal failures
        print(('ok: ' if ok else 'FAILED: ') + what + ('' if ok else f' (got {got!r})'))
        failures += not ok

    awareness = [e.text for e in root.iter(WS_2016 + 'dpiAwareness')]
    check('dpiAwareness PerMonitorV2, then PerMonitor', awareness == ['PerMonitorV2, PerMonitor'],
          awareness)
    aware = [e.text for e in root.iter(WS_2005 + 'dpiAware')]
    check('dpiAware true, for Windows before 10', aware == ['true'], aware)
    settings = [e for e in root.iter(ASM_V3 + 'windowsSettings')]
    check('both in the application\'s windowsSettings', len(settings) == 1 and all(
        e in list(settings[0]) for e in root.iter(WS_2016 + 'dpiAwareness')), len(settings))
    versions = {e.get('Id') for e in root.iter(COMPAT + 'supportedOS')}
    check('supports Windows Vista to 11', versions == WINDOWS_VERSIONS, sorted(versions))
    levels = [e.get('level') for e in root.iter(ASM_V3 + 'requestedExecutionLevel')]
    expected = [] if level == 'none' else [level]
    check(f'requested execution level: {level}', levels == expected, levels)
    return 1 if failures else 0


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
