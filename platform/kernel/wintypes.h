/*
** The basic types, handles and constants of the platform interface the system's code was
** written against. Every header of the platform layer includes this one; the system's code
** sees only these names, never Qt, SQLite or POSIX.
**
** Handles are pointer-sized opaque values. Integer widths follow the original platform:
** WORD is 16 bits, DWORD and LONG are 32, WPARAM/LPARAM/LRESULT are pointer-sized.
*/
#ifndef ZARNE_PLATFORM_KERNEL_WINTYPES_H
#define ZARNE_PLATFORM_KERNEL_WINTYPES_H

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define PASCAL
#define FAR
#define NEAR
#define CONST const

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef float FLOAT;
typedef void VOID;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uint16_t ATOM;
typedef DWORD COLORREF;

typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char* PSTR;
typedef const char* PCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef WORD* LPWORD;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef int* LPINT;
typedef BOOL* LPBOOL;

#define ZARNE_DECLARE_HANDLE(name) \
  struct name##__;                 \
  typedef struct name##__* name

typedef void* HANDLE;
ZARNE_DECLARE_HANDLE(HWND);
ZARNE_DECLARE_HANDLE(HINSTANCE);
ZARNE_DECLARE_HANDLE(HDC);
ZARNE_DECLARE_HANDLE(HGDIOBJ_);
ZARNE_DECLARE_HANDLE(HMENU);
ZARNE_DECLARE_HANDLE(HACCEL);
ZARNE_DECLARE_HANDLE(HICON);
ZARNE_DECLARE_HANDLE(HRSRC);
ZARNE_DECLARE_HANDLE(HKEY);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HGDIOBJ;
ZARNE_DECLARE_HANDLE(HPEN);
ZARNE_DECLARE_HANDLE(HBRUSH);
ZARNE_DECLARE_HANDLE(HFONT);
ZARNE_DECLARE_HANDLE(HBITMAP);
ZARNE_DECLARE_HANDLE(HRGN);
ZARNE_DECLARE_HANDLE(HPALETTE);
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
/* A file handle of the _lread family: a small integer, HFILE_ERROR on failure. */
typedef int HFILE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif

#define MAX_PATH    260
#define HFILE_ERROR ((HFILE)-1)

#define LOWORD(l) ((WORD)(((DWORD_PTR_)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR_)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR_)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR_)(w)) >> 8) & 0xff))
typedef uintptr_t DWORD_PTR_;
#define MAKELONG(lo, hi) \
  ((LONG)(((WORD)((DWORD_PTR_)(lo)&0xffff)) | ((DWORD)((WORD)((DWORD_PTR_)(hi)&0xffff))) << 16))
#define MAKEWPARAM(lo, hi)  ((WPARAM)(DWORD)MAKELONG(lo, hi))
#define MAKELPARAM(lo, hi)  ((LPARAM)(DWORD)MAKELONG(lo, hi))
#define MAKELRESULT(lo, hi) ((LRESULT)(DWORD)MAKELONG(lo, hi))
#define MAKEINTRESOURCE(i)  ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(p)   ((((ULONG_PTR)(p)) >> 16) == 0)
#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *LPPOINT;
typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;
typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

/* Byte counts of the memory calls: pointer-sized. */
typedef size_t SIZE_T;

#endif
