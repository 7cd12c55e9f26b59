/*
** The database engine: the Engine* operations through which the system reaches its tables.
**
** Every operation answers a 16-bit result code, 0 for success. Handles are pointer-sized
** opaque values owned by the engine; null is never a valid handle. Details about the last
** failed call are kept for EngineGetErrorInfo.
**
** A table is one file <NAME>.DB named by a Windows path, a host path or a bare name (bare
** names resolve in the directory set by EngineSetDirectory). Record buffers are laid out by
** the engine: EngineGetCursorProps gives their size and EngineGetFieldDescs the offset,
** length and blank-indicator offset of each field; callers go through EngineGetField and
** EnginePutField rather than reading the bytes themselves.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_H

#include "platform/kernel/wintypes.h"

/* ---- Result codes ---------------------------------------------------------------------- */

typedef WORD EngineResult;

#define ENGINE_OK ((EngineResult)0x0000)
/* Outcomes the callers expect and handle. */
#define ENGINE_ERR_BOF           ((EngineResult)0x2201) /* no earlier record */
#define ENGINE_ERR_EOF           ((EngineResult)0x2202) /* no further record */
#define ENGINE_ERR_NOCURRREC     ((EngineResult)0x2205) /* cursor is not on a record */
#define ENGINE_ERR_RECNOTFOUND   ((EngineResult)0x2206) /* no record with the key */
#define ENGINE_ERR_BLOBNOTOPEN   ((EngineResult)0x2207) /* blob was not opened: size 0 */
#define ENGINE_ERR_FLDOUTOFRANGE ((EngineResult)0x2701) /* field number out of range */
#define ENGINE_ERR_ALREADYLOCKED ((EngineResult)0x2807) /* lock already held by this program */
/* Failures. */
#define ENGINE_ERR_INVALIDPARAM   ((EngineResult)0x2102) /* a null or out-of-range argument */
#define ENGINE_ERR_INVALIDHANDLE  ((EngineResult)0x2106) /* not a live database or cursor */
#define ENGINE_ERR_INVALIDDATE    ((EngineResult)0x2107) /* no such calendar date */
#define ENGINE_ERR_NOTINITIALIZED ((EngineResult)0x2108) /* EngineInit was not called */
#define ENGINE_ERR_INVALIDDESC    ((EngineResult)0x2109) /* a field or index descriptor is unusable */
#define ENGINE_ERR_INVALIDFLDTYPE \
  ((EngineResult)0x210A) /* operation not valid for the field's type */
#define ENGINE_ERR_TABLENOTFOUND ((EngineResult)0x2401) /* no table file of that name */
#define ENGINE_ERR_DIRNOTFOUND   ((EngineResult)0x2402) /* directory does not exist */
#define ENGINE_ERR_FILEIO        ((EngineResult)0x2403) /* reading or writing a file failed */
#define ENGINE_ERR_TABLEDAMAGED  ((EngineResult)0x2404) /* the file is not a readable table */
#define ENGINE_ERR_READONLY      ((EngineResult)0x2406) /* the file or its directory is read-only */
#define ENGINE_ERR_NOSUCHINDEX   ((EngineResult)0x2405) /* no index with that id or field */
#define ENGINE_ERR_NOMEMORY      ((EngineResult)0x2501)
#define ENGINE_ERR_KEYVIOL       ((EngineResult)0x2601) /* another record has that key */
#define ENGINE_ERR_TABLEEXISTS   ((EngineResult)0x2602) /* create without overwrite on a table */
#define ENGINE_ERR_RECLOCKED     ((EngineResult)0x2801) /* record locked by another program */
#define ENGINE_ERR_TABLELOCKED   ((EngineResult)0x2802) /* table locked by another program */
#define ENGINE_ERR_NOTLOCKED     ((EngineResult)0x2803) /* release of a lock not held */
#define ENGINE_ERR_BUSY          ((EngineResult)0x2804) /* file stayed busy past the timeout */
#define ENGINE_ERR_QUERYSYNTAX   ((EngineResult)0x2E01) /* the query text does not parse */
#define ENGINE_ERR_QUERYFIELD    ((EngineResult)0x2E02) /* query names an unknown table or field */
#define ENGINE_ERR_NOTSUPPORTED  ((EngineResult)0x3E01) /* a mode or option this engine lacks */
#define ENGINE_ERR_RESTRUCTURE   ((EngineResult)0x3E02) /* restructure could not complete */

/* ---- Handles --------------------------------------------------------------------------- */

struct EngineDatabase__;
struct EngineCursor__;
struct EngineTransaction__;
typedef struct EngineDatabase__* EngineDatabase;
typedef struct EngineCursor__* EngineCursor;
typedef struct EngineTransaction__* EngineTransaction;

/* ---- Constants ------------------------------------------------------------------------- */

/* Field types and subtypes of EngineFieldDesc. */
#define ENGINE_FLD_STRING   1 /* NUL-terminated text of units1 characters */
#define ENGINE_FLD_DATE     2 /* u32 day number, 1 January of year 1 is day 1 */
#define ENGINE_FLD_BLOB     3 /* reached through the Engine*Blob operations */
#define ENGINE_FLD_INT16    5
#define ENGINE_FLD_INT32    6
#define ENGINE_FLD_FLOAT    7 /* double */
#define ENGINE_FLDSUB_NONE  0
#define ENGINE_FLDSUB_MONEY 21 /* with ENGINE_FLD_FLOAT */
#define ENGINE_FLDSUB_MEMO  22 /* with ENGINE_FLD_BLOB */

/* The blank date and whole number. */
#define ENGINE_BLANK_DATE ((DWORD)0x80000000u)

/* Search conditions of EngineSetToKey. */
#define ENGINE_KEY_EQ  0u /* first record whose key equals the given one */
#define ENGINE_KEY_GEQ 2u /* first record whose key is at or after the given one */

/* Record lock modes of EngineGetRecord and EngineGetNextRecord. */
#define ENGINE_NO_LOCK    0u
#define ENGINE_WRITE_LOCK 1u

/* Open modes of EngineOpenTable. */
#define ENGINE_OPEN_READWRITE 0u
#define ENGINE_OPEN_READONLY  1u

/* Share modes of EngineOpenDatabase and EngineOpenTable. */
#define ENGINE_SHARE_SHARED    0u
#define ENGINE_SHARE_EXCLUSIVE 1u

/* How EngineEndTran ends a transaction. */
#define ENGINE_XEND_COMMIT 0u
#define ENGINE_XEND_ABORT  1u

/* Query language of EngineExecQuery. */
#define ENGINE_QUERY_QBE 1u

/* Engine version passed to EngineInit. */
#define ENGINE_VERSION 300

/* Restructure operations, one per field and one per index. */
typedef DWORD EngineRestructureOp;
#define ENGINE_OP_KEEP    2u /* field: keep it, converting to the descriptor's type */
#define ENGINE_OP_REBUILD 5u /* index: build it again from the records */

/* ---- Records ---------------------------------------------------------------------------- */

#pragma pack(push, 1)

/* What EngineGetCursorProps answers about an open cursor. */
struct EngineCursorProps {
  char name[261]; /* bare table name in upper case, "ANSWER" for a query answer */
  WORD fieldCount;
  WORD recordSize;    /* bytes of a record buffer */
  WORD keySize;       /* bytes of the key fields of the cursor's index */
  WORD indexCount;    /* indexes of the table, primary included */
  WORD indexId;       /* the index the cursor walks */
  WORD keyFieldCount; /* key fields of that index */
};

/* The last failure: its code, its message and up to four context texts. */
struct EngineErrorInfo {
  WORD code;
  char message[128];
  char context[4][128];
};

/* One field of a table, as created and as answered by EngineGetFieldDescs. */
struct EngineFieldDesc {
  WORD fieldNumber; /* 1 to the field count */
  char name[32];
  WORD type;    /* ENGINE_FLD_* */
  WORD subtype; /* ENGINE_FLDSUB_* */
  SHORT units1; /* string length in characters; memo: inline length (unused) */
  SHORT units2;
  WORD offset;     /* in the record buffer (filled by the engine) */
  WORD length;     /* bytes in the record buffer (filled by the engine) */
  WORD nullOffset; /* offset of the field's blank indicator (filled by the engine) */
  DWORD validityCheck;
  DWORD rights;
  WORD calculated;
  WORD reserved[2];
};
static_assert(sizeof(EngineFieldDesc) == 62, "EngineFieldDesc is 62 bytes packed");

/* One index of a table. */
struct EngineIndexDesc {
  char name[261]; /* empty for the primary index */
  WORD indexId;   /* 0 primary; secondary indexes 1, 2, ... in creation order */
  char tagName[32];
  char format[32];
  WORD primary;
  WORD unique;
  WORD descending;
  WORD maintained;
  WORD subset;
  WORD expressionIndex;
  WORD cost;
  WORD keyFieldCount;
  WORD keyLength;
  WORD outOfDate;
  WORD keyExpressionType;
  WORD keyFields[16]; /* field numbers */
  char keyExpression[221];
  char keyCondition[221];
  WORD caseInsensitive;
  WORD blockSize;
  WORD restructureNumber;
  WORD descendingFields[16];
  WORD reserved[16];
};
static_assert(sizeof(EngineIndexDesc) == 893, "EngineIndexDesc is 893 bytes packed");

#pragma pack(pop)

/* A table to create or restructure. The stored catalogue image has 32-bit pointers; in
   memory the same fields stand in the same order with native pointers. */
struct EngineTableCreateDesc {
  char name[261];
  char driverType[32];
  char errorTableName[261];
  char userName[32];
  char password[32];
  WORD protectedFlag;
  WORD pack;
  WORD fieldCount;
  EngineRestructureOp* fieldOps; /* restructure only, one per field; null elsewhere */
  EngineFieldDesc* fields;
  WORD indexCount;
  EngineRestructureOp* indexOps; /* restructure only, one per index; null elsewhere */
  EngineIndexDesc* indexes;
  WORD validityCount; /* the four further groups: unused, all zero */
  void* validityOps;
  void* validityDescs;
  WORD referenceCount;
  void* referenceOps;
  void* referenceDescs;
  WORD securityCount;
  void* securityOps;
  void* securityDescs;
  WORD optionCount;
  void* optionDescs;
  void* optionData;
};

/* What the last restructure (or analysis) of this program did or found. */
struct EngineRestructureCounts {
  DWORD kept;       /* records in the rebuilt table (read, for an analysis) */
  DWORD setAside;   /* records written to the problems or key-violation table */
  DWORD skipped;    /* damaged pages of the old file stepped past */
  DWORD lost;       /* records stored on them, when lostCounted */
  BOOL lostCounted; /* the table's primary index could be read whole to count them */
  BOOL damaged;     /* the old file was found damaged */
  BOOL madeEmpty;   /* nothing of the old file could be read: the table is now empty */
  BOOL replaced;    /* the table file was replaced (also set after a failure) */
};

/* ---- Operations ------------------------------------------------------------------------ */

/* Session. */
EngineResult EngineInit(WORD version, const void* environment);
EngineResult EngineExit();
EngineResult EngineSetPrivateDir(const char* directory);
EngineResult EngineOpenDatabase(const char* name, const char* type, DWORD openMode, DWORD shareMode,
                                const char* password, WORD optionCount, const void* optionDescs,
                                const void* optionData, EngineDatabase* database);
EngineResult EngineCloseDatabase(EngineDatabase* database);
/* buffer receives the working directory; it must hold 264 bytes. */
EngineResult EngineGetDirectory(EngineDatabase database, BOOL defaultDir, char* buffer);
EngineResult EngineSetDirectory(EngineDatabase database, const char* directory);

/* Tables. */
EngineResult EngineOpenTable(EngineDatabase database, const char* name, const char* driver,
                             const char* indexName, const char* indexTagName, WORD indexId,
                             DWORD openMode, DWORD shareMode, DWORD translateMode,
                             BOOL uniDirectional, const void* params, EngineCursor* cursor);
EngineResult EngineCreateTable(EngineDatabase database, BOOL overwrite,
                               const EngineTableCreateDesc* desc);
/* A source file that is not a readable table is copied byte for byte, with its journal. */
EngineResult EngineCopyTable(EngineDatabase database, BOOL overwrite, const char* source,
                             const char* driver, const char* destination);
/* Rebuilds a table to desc (one descriptor): every field kept, every index rebuilt. The
   old file is read past damaged places; records that cannot be read as their fields or
   that violate a unique key are appended to the problems table. The rebuilt table replaces
   the old file in one step. A name with a directory in desc is used as it stands. */
EngineResult EngineRestructureTable(EngineDatabase database, WORD descCount,
                                    EngineTableCreateDesc* desc, const char* saveAs,
                                    const char* keyViolationTable, const char* problemsTable,
                                    BOOL analyzeOnly);
EngineResult EngineGetRestructureCounts(EngineRestructureCounts* counts);
/* Table locks bind other programs and may be taken on a name with no table yet. While one
   is held no other program can open, copy onto, create, restructure or lock the table;
   it cannot be taken while another program has the table open. */
EngineResult EngineAcquireTableLock(EngineDatabase database, const char* name, const char* driver);
EngineResult EngineReleaseTableLock(EngineDatabase database, const char* name, const char* driver);
/* Runs a query text; the answer is a temporary table in the private directory, removed
   when its last cursor closes. */
EngineResult EngineExecQuery(EngineDatabase database, DWORD language, const char* text,
                             EngineCursor* answer);

/* Cursors. */
EngineResult EngineCloseCursor(EngineCursor* cursor);
EngineResult EngineCloneCursor(EngineCursor cursor, BOOL readOnly, BOOL uniDirectional,
                               EngineCursor* clone);
EngineResult EngineGetCursorProps(EngineCursor cursor, EngineCursorProps* props);
/* descs receives one EngineFieldDesc per field. */
EngineResult EngineGetFieldDescs(EngineCursor cursor, EngineFieldDesc* descs);
/* The index whose first key field is field (the primary index when that qualifies). */
EngineResult EngineGetIndexForField(EngineCursor cursor, WORD field, BOOL producing,
                                    EngineIndexDesc* desc);

/* Navigation and records. recordProps is reserved and must be null. */
EngineResult EngineSetToBegin(EngineCursor cursor);
EngineResult EngineSetToEnd(EngineCursor cursor);
EngineResult EngineGetNextRecord(EngineCursor cursor, DWORD lockMode, void* record,
                                 void* recordProps);
EngineResult EngineGetPriorRecord(EngineCursor cursor, DWORD lockMode, void* record,
                                  void* recordProps);
EngineResult EngineGetRecord(EngineCursor cursor, DWORD lockMode, void* record, void* recordProps);
/* Positions before the first record matching the first keyFieldCount key fields of record
   (0: the whole key); EngineGetNextRecord then reaches it. */
EngineResult EngineSetToKey(EngineCursor cursor, DWORD condition, BOOL directKey,
                            WORD keyFieldCount, WORD partialLength, const void* record);
EngineResult EngineInitRecord(EngineCursor cursor, void* record);
/* The writes: a caller that drops their result would take a refused write for a stored one. */
[[nodiscard]] EngineResult EngineInsertRecord(EngineCursor cursor, DWORD lockMode, void* record);
[[nodiscard]] EngineResult EngineModifyRecord(EngineCursor cursor, void* record, BOOL freeLock);
[[nodiscard]] EngineResult EngineDeleteRecord(EngineCursor cursor, void* record);
EngineResult EngineFlushCursor(EngineCursor cursor);

/* Totals. A group of records and the total of one money field over it, in whole cents: an
   amount's cents are those of its "%.2lf" text. An amount more than a millionth of a dollar
   from whole cents (0.125), or beyond 1e13, counts in inexact instead, so a caller that
   needs the cents exact can tell and read the records one by one. A blank amount is 0. */
struct EngineCentsTotal {
  long long cents;     /* sum of the exact amounts' cents */
  long long magnitude; /* sum of their absolute values */
  DWORD records;
  DWORD inexact;
};
typedef void (*EngineGroupTotalProc)(const void* record, const EngineCentsTotal* total,
                                     void* context);
/* Totals the money field sumField over the records that come before the first keyFieldCount
   key fields of record in the cursor's order (those a walk from the start passes before
   EngineSetToKey with ENGINE_KEY_GEQ would place it), grouped by the values of the
   groupFieldCount fields groupFields. Calls each once per group with a record buffer in
   which the group's fields hold its values and every other field is blank. A record among
   them whose values cannot be read as their fields answers ENGINE_ERR_TABLEDAMAGED and no
   group is given. The cursor does not move. */
EngineResult EngineTotalBeforeKey(EngineCursor cursor, WORD keyFieldCount, const void* record,
                                  WORD sumField, WORD groupFieldCount, const WORD* groupFields,
                                  EngineGroupTotalProc each, void* context);

/* Transactions: every record this program writes, to any table, between begin and end is
   stored by the commit together, or by none of them after an abort, a failed commit or the
   program's death. One is open at a time; other programs see the tables as before until
   the commit. */
EngineResult EngineBeginTran(EngineDatabase database, EngineTransaction* transaction);
[[nodiscard]] EngineResult EngineEndTran(EngineDatabase database, EngineTransaction transaction,
                                         DWORD end);

/* Record locks. */
EngineResult EngineIsRecordLocked(EngineCursor cursor, DWORD* locked);
/* all 0: the current record's lock; all 1: every lock this cursor holds. */
EngineResult EngineReleaseRecordLock(EngineCursor cursor, BOOL all);

/* Fields. blank may be null. A string field gives its NUL-terminated text; a date its u32
   day number (ENGINE_BLANK_DATE when blank); numbers their binary value (0 when blank). */
EngineResult EngineGetField(EngineCursor cursor, WORD field, const void* record, void* destination,
                            DWORD* blank);
/* One field of the record the cursor is on, given as EngineGetField gives it, without
   filling a record buffer: a walk that lists one field reads it so. A record another
   program changed since the cursor reached it is read again first. */
EngineResult EngineGetCurrentField(EngineCursor cursor, WORD field, void* destination,
                                   DWORD* blank);
/* A null source makes the field blank. */
EngineResult EnginePutField(EngineCursor cursor, WORD field, void* record, const void* source);

/* Blobs, by record buffer and field. */
EngineResult EngineOpenBlob(EngineCursor cursor, void* record, WORD field, DWORD openMode);
EngineResult EngineGetBlobSize(EngineCursor cursor, void* record, WORD field, DWORD* size);
EngineResult EngineGetBlob(EngineCursor cursor, void* record, WORD field, DWORD offset,
                           DWORD length, void* destination, DWORD* count);
EngineResult EnginePutBlob(EngineCursor cursor, void* record, WORD field, DWORD offset,
                           DWORD length, const void* source);
EngineResult EngineFreeBlob(EngineCursor cursor, void* record, WORD field);

/* Dates: proleptic-Gregorian day numbers, 1 January of year 1 is day 1. */
EngineResult EngineEncodeDate(WORD month, WORD day, SHORT year, DWORD* date);
EngineResult EngineDecodeDate(DWORD date, WORD* month, WORD* day, SHORT* year);

/* Errors and idle work. */
EngineResult EngineGetErrorInfo(BOOL fullContext, EngineErrorInfo* info);
/* buffer must hold 128 bytes. */
EngineResult EngineGetErrorText(EngineResult code, char* buffer);
EngineResult EngineDoIdleWork();

#endif
