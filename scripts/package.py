"""Packs both editions, the players' guides and their SHA256SUMS into one zip
that is the same to the byte for the same inputs: fixed order, fixed times
and modes, and the guides in Windows' line endings with a UTF-8 mark.

    package.py PROGRAMS-FOLDER DOCS-FOLDER VERSION SECONDS-SINCE-1970 OUT.zip
"""

import hashlib
import os
import sys
import time
import zipfile


def main():
    programs, docs, version, epoch, out = sys.argv[1:6]
    stamp = time.gmtime(int(epoch))[:6]
    files = []
    for name in ("quimba.exe", "glimter-lottery.exe"):
        with open(os.path.join(programs, name), "rb") as f:
            files.append((name, f.read()))
    for source, name in (("guide-es.txt", "LEEME.txt"), ("guide-en.txt", "README.txt")):
        with open(os.path.join(docs, source), encoding="utf-8") as f:
            text = f.read().replace("\n", "\r\n")
        files.append((name, "\ufeff".encode("utf-8") + text.encode("utf-8")))
    sums = "".join(f"{hashlib.sha256(data).hexdigest()} *{name}\r\n" for name, data in files)
    files.append(("SHA256SUMS", sums.encode("ascii")))

    folder = f"quimba-glimter-{version}"
    with zipfile.ZipFile(out, "w") as archive:
        for name, data in files:
            entry = zipfile.ZipInfo(f"{folder}/{name}", date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0  # MS-DOS: no Unix owner or mode
            entry.external_attr = 0x20  # archive
            archive.writestr(entry, data, compresslevel=9)


if __name__ == "__main__":
    main()
