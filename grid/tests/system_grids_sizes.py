#!/usr/bin/env python3
"""Works out the definition sizes the system's grids must report: TSM_GETDEFSIZE is 20 per
column, plus the string pool (each column's format, heading and name with terminators),
plus 8; TSM_GETCOLDEFSIZE is 20 plus the three strings plus 3. Value offsets come from the
row rules: header 4 (8 with multiple-row selection), 2-byte types even, 4- and 8-byte types
at multiples of 4, the rest where they fall. Prints what system_grids_test.cpp expects."""

Z, R8, I4 = "z", "r8", "i4"
SIZE = {R8: 8, I4: 4}
ALIGN = {R8: 4, I4: 4}

# (format, heading, name, type, length) per column.
GRIDS = {
    "requirements": (False, [("", "", "Text", Z, 81), ("", "", "Seq", R8, 8), ("", "", "Policy", Z, 2)]),
    "deposits": (False, [("", "Depositor", "PayeeDepositor", Z, 61), ("#,##0.00", "Amount", "", R8, 8),
                         ("", "", "FileNum", Z, 16), ("", "", "Type", Z, 2), ("", "", "Num", I4, 4),
                         ("", "", "Bank", I4, 4), ("", "", "Seq", R8, 8), ("", "", "Status", I4, 4),
                         ("", "", "Date", I4, 4), ("", "", "Description", Z, 61)]),
    "checks": (False, [("", "Status", "AlphaStatus", Z, 12), ("", "Payee", "Payee", Z, 61),
                       ("#,##0.00", "Amount", "Amount", R8, 8), ("", "", "FileNum", Z, 16), ("", "", "Type", Z, 2),
                       ("", "", "Number", I4, 4), ("", "", "Bank", I4, 4), ("", "", "Seq", R8, 8),
                       ("", "", "Status", I4, 4), ("", "", "Date", I4, 4), ("", "", "Description", Z, 61)]),
    "posting": (True, [("", "Depositor", "Depositor", Z, 61), ("#,##0.00", "Amount", "Amount", R8, 8),
                       ("", "Post Date", "AlphaDate", Z, 12), ("", "", "FileNum", Z, 16), ("", "", "Type", Z, 2),
                       ("", "", "Num", I4, 4), ("", "", "Bank", I4, 4), ("", "", "Seq", R8, 8),
                       ("", "", "Status", I4, 4), ("MM/DD/YY", "", "Date", I4, 4), ("", "", "Description", Z, 61)]),
    "account": (False, [("", "File Number", "FileNum", Z, 16), ("", "Check Number", "Number", I4, 4),
                        ("", "Date", "AlphaDate", Z, 12), ("", "Status", "AlphaStatus", Z, 12),
                        ("#,##0.00", "Amount", "Amount", R8, 8), ("", "", "Type", Z, 2), ("", "", "Seq", R8, 8)]),
    "adjustments": (False, [("", "Date", "AlphaDate", Z, 12), ("", "", "Date", I4, 4), ("", "", "FileNum", Z, 16),
                            ("", "", "Type", Z, 2), ("", "", "Seq", R8, 8), ("", "Description", "Description", Z, 61),
                            ("#,##0.00", "Amount", "", R8, 8)]),
    "reconcile": (True, [("", "Status", "AlphaStatus", Z, 12), ("", "File Number", "FileNum", Z, 16),
                         ("", "Date", "AlphaDate", Z, 12), ("", "Check Number", "Number", I4, 4),
                         ("#,##0.00", "Amount", "Amount", R8, 8), ("", "Depositor", "PayeeDepositor", Z, 30),
                         ("", "", "Type", Z, 2), ("", "", "Seq", R8, 8), ("", "", "Status", I4, 4)]),
}

for name, (multirow, columns) in GRIDS.items():
    header = 8 if multirow else 4
    offset, offsets = header, []
    for fmt, heading, col, kind, length in columns:
        align = ALIGN.get(kind, 1)
        offset = (offset + align - 1) // align * align
        offsets.append(offset - header)
        offset += SIZE.get(kind, length)
    row = (offset + 3) // 4 * 4 - header
    pool = sum(len(f) + len(h) + len(n) + 3 for f, h, n, _, _ in columns)
    colsizes = [20 + len(f) + len(h) + len(n) + 3 for f, h, n, _, _ in columns]
    print(name, "offsets", offsets, "values", row, "defsize", 20 * len(columns) + pool + 8, "colsizes", colsizes)
