"""Writes the fuzzer's seed corpus: real records and the file shapes the
loader must handle. Run from this folder: python3 make_corpus.py"""

import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import STANDARD_FIGURES, config_record  # noqa: E402

os.makedirs("corpus", exist_ok=True)
standard = config_record(STANDARD_FIGURES, "500", "secret7", "abc", "3")
seeds = {
    "standard": standard,
    "two-records": standard + config_record(STANDARD_FIGURES, "5000", "other", "", "10"),
    "trailing-bytes": standard + b"\x42" * 44,
    "short": standard[:255],
    "long-texts": config_record(["9999"] * 10, "9999", "\xf1" * 12, "\xff" * 81, "10"),
    "odd-slots": struct.pack("<32q", *([0, -5, 255255255255255, 999999999999999999, 1000000000000000, 256]
                                      + list(range(1, 27)))),
    "letters": config_record(["12ab", "-5", " 7", "0050"] + STANDARD_FIGURES[4:], "", "pw", "a\0b", "9999"),
}
for name, data in seeds.items():
    with open(os.path.join("corpus", name), "wb") as f:
        f.write(data)
