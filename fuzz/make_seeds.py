#!/usr/bin/env python3
"""Makes the seed corpora of the fuzz targets (fuzz/corpus/<target>/) from the inputs the
module tests use: their script and resource files as they stand, and the ini texts, query
texts, settings files and conversation frames the tests build, written out as bytes.

Run from the repository root; it replaces what it writes and leaves other seeds alone."""
import glob
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def scripts():
    # The interpreter corpus: each script up to its "=== expect" block.
    for path in sorted(glob.glob(os.path.join(ROOT, "script/tests/corpus/*.zbs"))):
        text = open(path, "rb").read()
        text = text.split(b"=== expect")[0]
        put("script_run", os.path.basename(path), text)


def resource_scripts():
    patterns = ["resources/*/*.rc", "platform/*/tests/*.rc", "platform/*/tests/rc/*.rc",
                "platform/*/tests/rc/bad/*", "tableaccess/tests/*/*.rc"]
    for pattern in patterns:
        for path in sorted(glob.glob(os.path.join(ROOT, pattern))):
            relative = os.path.relpath(path, ROOT).replace("/", "_")
            put("rc_script", relative, open(path, "rb").read())


PROFILE_TEXTS = {
    # From the profile tests: trimming and quotes, cut values, repeated sections, numbers,
    # deletion with comments kept, and a damaged file with a NUL and a cut last line.
    "trim_and_quotes.ini": "[System]\r\n  DirDatabase =  C:\\ZARNE  \r\nQuoted=\"  padded \"\r\nSingle='x'\r\n",
    "cut_value.ini": "[S]\nKey=abcdefghij\n",
    "repeated_sections.ini": "[One]\na=1\nB=2\n[Two]\nc=3\n[one]\nd=4\n",
    "numbers.ini": "[N]\nA=42\nB= -7 \nC=12abc\nD=abc\nE=\n",
    "written.ini": "[System]\r\nDirDatabase=C:\\ZARNE\r\nDirPrivate=C:\\Zarne\\Private\r\n\r\n[Tessel]\r\nRCVersion31=1\r\n",
    "indented.ini": "[HUD1Options]\n  ShowGrid=1\n",
    "comments.ini": "[A]\nx=1\ny=2\n[B]\n; b's comment\nz=3\n[C]\nw=4\n",
    "damaged.ini": "[System\r\nDirDatabase=C:\\DB\r\ngarbage \x01\x00 line\r\n[Tracking]\r\nDesc1=Title ordered\r\nDesc2=Surv",
    "byte_order_mark.ini": "\xef\xbb\xbf[First]\nk=v\n",
}

QUERIES = {
    # The reconciliation, book-balance and 1099 texts of the query tests, and malformed ones.
    "section.qbe": "SORT: ACCOUNT.DB->\"Number\", ACCOUNT.DB->\"Date\"\r\n"
                   "ACCOUNT.DB | Type | Number | Bank | Status | Date             | PayeeDepositor | Amount     |\r\n"
                   "           | C    | Check  |1    | 2      | Check <=03/31/2001 | Check          | CheckPlus  |\r\n",
    "book.qbe": "SORT: ACCOUNT.DB->\"Date\"\r\n"
                "ACCOUNT.DB | Type   | Bank | Status  | Date             | Amount     |\r\n"
                "           | Check  | 1    | 2 OR >4 | Check <=03/31/2001 | CheckPlus  |",
    "by_dates.qbe": "SUMMARY1.DB | FileNum | CDATE |\r\n            | Check   | >= 01/01/2001, <= 12/31/2001 |\r\n",
    "by_files.qbe": "SUMMARY1.DB | FileNum |\r\n            | Check >= 2000-000, <= 2001-005 |\r\n",
    "two_digit_year.qbe": "SORT: ACCOUNT.DB->\"Number\", ACCOUNT.DB->\"Date\"\r\n"
                          "ACCOUNT.DB | Type | Number | Bank | Status | Date             | PayeeDepositor | Amount     |\r\n"
                          "           | D    | Check  |1    | 6      | Check <=12/31/99 | Check          | CheckPlus  |\r\n",
    "nothing_checked.qbe": "ACCOUNT.DB | Type |\r\n | C |\r\n",
    "unknown_field.qbe": "ACCOUNT.DB | Nothing |\r\n | Check |\r\n",
    "unclosed_quote.qbe": "ACCOUNT.DB | Type |\r\n | Check \"unclosed |\r\n",
    "two_rows.qbe": "ACCOUNT.DB | Type |\r\n | Check |\r\n | Check |\r\n",
    "sort_unknown.qbe": "SORT: ACCOUNT.DB->\"Nope\"\r\nACCOUNT.DB | Type |\r\n | Check |\r\n",
}


def printer_file(driver, device, port, devmode):
    names = [driver, device, port]
    offsets = [8]
    for name in names:
        offsets.append(offsets[-1] + len(name) + 2)
    body = b"".join(name.encode() + b"\0\0" for name in names)
    devmode_offset = offsets[3] if devmode else 0
    return struct.pack("<4H", offsets[0], offsets[1], offsets[2], devmode_offset) + body + devmode


def sample_devmode():
    # The settings tests' sample: a 156-byte device mode named "Office Laser", landscape,
    # three copies, paper 5, and four bytes of driver data.
    record = bytearray(156)
    record[0:12] = b"Office Laser"
    struct.pack_into("<HHHH", record, 32, 0x0400, 0, 156, 4)   # spec, driver version, size, extra
    struct.pack_into("<I", record, 40, 0x1 | 0x100)           # fields: orientation, copies
    struct.pack_into("<hh", record, 44, 2, 5)                  # landscape, paper size
    struct.pack_into("<h", record, 54, 3)                      # copies
    return bytes(record) + bytes([0xDE, 0xAD, 0xBE, 0xEF])


def settings():
    kinds = {0: "statement", 1: "report", 2: "check"}
    for kind, name in kinds.items():
        put("print_settings", name + "_full.bin",
            bytes([kind]) + printer_file("winspool", "Office Laser", "LPT1:", sample_devmode()))
        put("print_settings", name + "_no_devmode.bin",
            bytes([kind]) + printer_file("winspool", "Plain", "FILE:", b""))
    put("print_settings", "damaged_offsets.bin", bytes([1]) + struct.pack("<4H", 8, 400, 2, 9))
    layout = struct.pack("<64h", *[(-1000 if i % 7 == 0 else 36 * i) for i in range(64)])
    put("print_settings", "chkform.bin", bytes([3]) + layout)
    put("print_settings", "chkform_short.bin", bytes([3]) + layout[:100])


def frame(body):
    return struct.pack("<I", len(body)) + body


def name(text):
    return struct.pack("<H", len(text)) + text


def blob(data):
    return struct.pack("<I", len(data)) + data


def frames():
    connect = frame(b"\x01\x03" + name(b"ZARNE") + name(b"2001-010"))
    reply = frame(b"\x02\x01" + name(b"ZARNE") + name(b"2001-010"))
    wild = frame(b"\x03\x00" + name(b"") + name(b""))
    wild_reply = frame(b"\x04" + struct.pack("<H", 2) + name(b"ZARNE") + name(b"System")
                       + name(b"ZARNE") + name(b"2001-010"))
    request = frame(b"\x05" + struct.pack("<IHH", 7, 0x20B0, 1) + b"\x01" + name(b"A101")
                    + b"\x00" + blob(b""))
    poke = frame(b"\x05" + struct.pack("<IHH", 8, 0x4090, 1) + b"\x01" + name(b"Buyer")
                 + b"\x01" + blob(b"Ann Smith\0"))
    answer = frame(b"\x06" + struct.pack("<I", 7) + b"\x01" + struct.pack("<H", 0)
                   + b"\x01" + blob(b"1234.56\0"))
    advise = frame(b"\x07" + struct.pack("<H", 1) + name(b"A101") + b"\x01" + blob(b"99.00\0"))
    disconnect = frame(b"\x08")
    put("dde_frames", "connect.bin", connect)
    put("dde_frames", "conversation.bin", connect + reply + request + answer + poke + advise + disconnect)
    put("dde_frames", "wild.bin", wild + wild_reply)
    put("dde_frames", "split_frame.bin", request[:9])


def damage():
    # Damage to the healthy table: each four bytes put one byte at a 24-bit offset; a byte
    # left over cuts the file to that many 256ths. As the engine's damage tests do: the file
    # whole, cut in its second half, a page scribbled over, and its header broken.
    put("table_rebuild", "healthy.bin", b"")
    put("table_rebuild", "cut_in_half.bin", bytes([128]))
    put("table_rebuild", "page_two_scribbled.bin",
        b"".join(struct.pack(">I", ((0x1000 + i * 7) << 8) | 0x5A) for i in range(64)))
    put("table_rebuild", "header_damaged.bin",
        struct.pack(">I", (20 << 8) | 0xFF) + struct.pack(">I", (100 << 8) | 0x00))


def table_files():
    # The same damage to the other tables: the first byte chooses the table.
    damages = {"healthy": b"", "cut_in_half": bytes([128]),
               "header_damaged": struct.pack(">I", (20 << 8) | 0xFF) + struct.pack(">I", (100 << 8))}
    for table in range(16):
        for label, damage_bytes in damages.items():
            put("table_files", "%02d_%s.bin" % (table, label), bytes([table]) + damage_bytes)


def server_conversations():
    # A client of the whole server: the mode byte (0: transactions on the program's own
    # names, 1: another topic, 2: a wild query, 4: raw bytes), then transactions, each a
    # selector (type = selector % 5: request, poke, execute, advise start, stop), an item's
    # place in the program's name list and, for a poke, the data's length and bytes.
    put("dde_server", "requests.bin", bytes([0, 0, 1, 0, 2, 0, 40, 0, 200]))
    put("dde_server", "poke_money.bin", bytes([0, 1, 5, 9]) + b"1,234.567")
    put("dde_server", "titles.bin", bytes([0, 2, 0, 2, 3, 2, 3]))
    put("dde_server", "advise.bin", bytes([0, 3, 4, 1, 4, 8]) + b"2,000.00" + bytes([4, 4]))
    put("dde_server", "other_topic.bin", bytes([1, 6]) + b"System" + bytes([0, 1]))
    put("dde_server", "wild.bin", bytes([2]))
    put("dde_server", "raw_frame.bin", bytes([4]) + frame(b"\x05" + struct.pack("<IHH", 1, 0x4050, 1)
                                                          + b"\x01" + name(b"X") + b"\x01" + blob(b"GetNextTI")))


def window_lists():
    # Another program's window list: serial, class, title and state, tab-separated.
    put("window_files", "frame.txt", "1\tTFrame\tZarne\tvM\n")
    put("window_files", "two.txt", "1\tTFrame\tZarne - [X1]\tv\n2\tEdit\ta\\tb\\\\c\t-\n")
    put("window_files", "damaged.txt", "0\tx\ty\n99999999999\ta\tb\nx\ty\n3\tonly\n")


def system_keys():
    put("system_keys", "configured.ini",
        "[System]\r\nDirDatabase=C:\\ZARNE\r\nDirCheckCtl=C:\\ZARNE\\CHECKS\r\n"
        "DirPrinters=D:\\PRN\r\nDirPrivate=C:\\Zarne\\Private\r\n")
    put("system_keys", "empty_values.ini", "[System]\r\nDirDatabase=\r\nDirPrivate=\r\n")
    put("system_keys", "climbing.ini",
        "[System]\r\nDirDatabase=C:\\..\\..\\ZARNE\r\nDirCheckCtl=C:..\\x\r\nDirPrinters=E:/a/../../b\r\n")
    put("system_keys", "long.ini", "[System]\r\nDirDatabase=C:\\" + "d" * 300 + "\r\n")


def command_lines():
    # The whole argument list, the program's own name first; empty is no arguments at all.
    put("zrnfix32_args", "none.bin", b"")
    put("zrnfix32_args", "name.bin", b"zrnfix32")
    put("zrnfix32_args", "options.bin", b"zrnfix32\0-platform\0xcb\0-style\0fusion\0--reverse")
    put("zrnfix32_args", "table.bin", b"/opt/zarne/zrnfix32\0ACCOUNT\0C:\\ZARNE")
    put("zrnfix32_args", "empty_name.bin", b"\0-x")


def main():
    scripts()
    resource_scripts()
    for file, text in PROFILE_TEXTS.items():
        put("profile", file, text)
    for file, text in QUERIES.items():
        put("qbe_query", file, text)
    settings()
    frames()
    damage()
    table_files()
    server_conversations()
    window_lists()
    system_keys()
    command_lines()


if __name__ == "__main__":
    main()
