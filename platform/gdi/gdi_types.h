/*
** The records and constants of the drawing interface: logical fonts, pens, brushes, bitmaps,
** text metrics, mapping modes, raster operations, text and DrawText flags, device
** capabilities and stock objects. Numeric values are those of the original platform, since
** the system's code and its stored settings depend on them.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_TYPES_H
#define ZARNE_PLATFORM_GDI_GDI_TYPES_H

#include "platform/kernel/wintypes.h"

#define LF_FACESIZE 32

typedef struct tagLOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, LOGFONT, *LPLOGFONT;
static_assert(sizeof(LOGFONT) == 60, "LOGFONT keeps its 60-byte layout");

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
} LOGBRUSH, *LPLOGBRUSH;

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *LPBITMAP;

typedef struct tagTEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICA, TEXTMETRIC, *LPTEXTMETRIC;

/* Object types (GetObjectType). */
#define OBJ_PEN    1
#define OBJ_BRUSH  2
#define OBJ_DC     3
#define OBJ_PAL    5
#define OBJ_FONT   6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC  10

/* Stock objects. */
#define WHITE_BRUSH         0
#define LTGRAY_BRUSH        1
#define GRAY_BRUSH          2
#define DKGRAY_BRUSH        3
#define BLACK_BRUSH         4
#define NULL_BRUSH          5
#define HOLLOW_BRUSH        NULL_BRUSH
#define WHITE_PEN           6
#define BLACK_PEN           7
#define NULL_PEN            8
#define OEM_FIXED_FONT      10
#define ANSI_FIXED_FONT     11
#define ANSI_VAR_FONT       12
#define SYSTEM_FONT         13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE     15
#define SYSTEM_FIXED_FONT   16
#define DEFAULT_GUI_FONT    17

/* Pen styles. */
#define PS_SOLID       0
#define PS_DASH        1
#define PS_DOT         2
#define PS_DASHDOT     3
#define PS_DASHDOTDOT  4
#define PS_NULL        5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK  0x0000000F

/* Brush styles and hatches. */
#define BS_SOLID      0
#define BS_NULL       1
#define BS_HOLLOW     BS_NULL
#define BS_HATCHED    2
#define BS_PATTERN    3
#define HS_HORIZONTAL 0
#define HS_VERTICAL   1
#define HS_FDIAGONAL  2
#define HS_BDIAGONAL  3
#define HS_CROSS      4
#define HS_DIAGCROSS  5

/* Font weights, character sets, pitch and family. */
#define FW_DONTCARE         0
#define FW_THIN             100
#define FW_LIGHT            300
#define FW_NORMAL           400
#define FW_MEDIUM           500
#define FW_SEMIBOLD         600
#define FW_BOLD             700
#define FW_HEAVY            900
#define ANSI_CHARSET        0
#define DEFAULT_CHARSET     1
#define SYMBOL_CHARSET      2
#define OEM_CHARSET         255
#define OUT_DEFAULT_PRECIS  0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY     0
#define DRAFT_QUALITY       1
#define PROOF_QUALITY       2
#define DEFAULT_PITCH       0
#define FIXED_PITCH         1
#define VARIABLE_PITCH      2
#define FF_DONTCARE         0x00
#define FF_ROMAN            0x10
#define FF_SWISS            0x20
#define FF_MODERN           0x30
#define FF_SCRIPT           0x40
#define FF_DECORATIVE       0x50
/* In TEXTMETRIC the bit is set for a VARIABLE-pitch font, as on the original platform. */
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR      0x02
#define TMPF_TRUETYPE    0x04
#define TMPF_DEVICE      0x08

/* Mapping modes. */
#define MM_TEXT        1
#define MM_LOMETRIC    2
#define MM_HIMETRIC    3
#define MM_LOENGLISH   4
#define MM_HIENGLISH   5
#define MM_TWIPS       6
#define MM_ISOTROPIC   7
#define MM_ANISOTROPIC 8

/* Background modes. */
#define TRANSPARENT 1
#define OPAQUE      2

/* Binary raster operations (SetROP2). */
#define R2_BLACK       1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN  3
#define R2_NOTCOPYPEN  4
#define R2_MASKPENNOT  5
#define R2_NOT         6
#define R2_XORPEN      7
#define R2_NOTMASKPEN  8
#define R2_MASKPEN     9
#define R2_NOTXORPEN   10
#define R2_NOP         11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN     13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN    15
#define R2_WHITE       16

/* Ternary raster operations (BitBlt, StretchBlt, PatBlt). */
#define SRCCOPY     0x00CC0020
#define SRCPAINT    0x00EE0086
#define SRCAND      0x008800C6
#define SRCINVERT   0x00660046
#define SRCERASE    0x00440328
#define NOTSRCCOPY  0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY   0x00C000CA
#define MERGEPAINT  0x00BB0226
#define PATCOPY     0x00F00021
#define PATPAINT    0x00FB0A09
#define PATINVERT   0x005A0049
#define DSTINVERT   0x00550009
#define BLACKNESS   0x00000042
#define WHITENESS   0x00FF0062

/* StretchBlt modes. */
#define BLACKONWHITE        1
#define WHITEONBLACK        2
#define COLORONCOLOR        3
#define HALFTONE            4
#define STRETCH_DELETESCANS COLORONCOLOR

/* Text alignment. */
#define TA_NOUPDATECP 0
#define TA_UPDATECP   1
#define TA_LEFT       0
#define TA_RIGHT      2
#define TA_CENTER     6
#define TA_TOP        0
#define TA_BOTTOM     8
#define TA_BASELINE   24
#define TA_HORZ_MASK  (TA_LEFT | TA_RIGHT | TA_CENTER)
#define TA_VERT_MASK  (TA_TOP | TA_BOTTOM | TA_BASELINE)
#define GDI_ERROR     0xFFFFFFFFu

/* ExtTextOut options. */
#define ETO_OPAQUE  0x0002
#define ETO_CLIPPED 0x0004

/* DrawText formats. */
#define DT_TOP             0x00000000
#define DT_LEFT            0x00000000
#define DT_CENTER          0x00000001
#define DT_RIGHT           0x00000002
#define DT_VCENTER         0x00000004
#define DT_BOTTOM          0x00000008
#define DT_WORDBREAK       0x00000010
#define DT_SINGLELINE      0x00000020
#define DT_EXPANDTABS      0x00000040
#define DT_TABSTOP         0x00000080
#define DT_NOCLIP          0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT        0x00000400
#define DT_NOPREFIX        0x00000800

/* Region results and combination modes. */
#define ERROR         0
#define NULLREGION    1
#define SIMPLEREGION  2
#define COMPLEXREGION 3
#define RGN_ERROR     ERROR
#define RGN_AND       1
#define RGN_OR        2
#define RGN_XOR       3
#define RGN_DIFF      4
#define RGN_COPY      5

/* GetDeviceCaps indexes. */
#define DRIVERVERSION   0
#define TECHNOLOGY      2
#define HORZSIZE        4
#define VERTSIZE        6
#define HORZRES         8
#define VERTRES         10
#define BITSPIXEL       12
#define PLANES          14
#define NUMBRUSHES      16
#define NUMPENS         18
#define NUMFONTS        22
#define NUMCOLORS       24
#define CURVECAPS       28
#define LINECAPS        30
#define POLYGONALCAPS   32
#define TEXTCAPS        34
#define CLIPCAPS        36
#define RASTERCAPS      38
#define ASPECTX         40
#define ASPECTY         42
#define ASPECTXY        44
#define LOGPIXELSX      88
#define LOGPIXELSY      90
#define SIZEPALETTE     104
#define NUMRESERVED     106
#define COLORRES        108
#define PHYSICALWIDTH   110
#define PHYSICALHEIGHT  111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define SCALINGFACTORX  114
#define SCALINGFACTORY  115

/* TECHNOLOGY answers. */
#define DT_PLOTTER    0
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2

/* RASTERCAPS bits. */
#define RC_BITBLT     0x0001
#define RC_BANDING    0x0002
#define RC_SCALING    0x0004
#define RC_BITMAP64   0x0008
#define RC_DI_BITMAP  0x0080
#define RC_PALETTE    0x0100
#define RC_DIBTODEV   0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

/* Colours that name an entry of the default palette rather than an RGB value. */
#define PALETTEINDEX(i)     ((COLORREF)(0x01000000 | (DWORD)(WORD)(i)))
#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))
#define CLR_INVALID         0xFFFFFFFFu

/* System bitmaps (LoadBitmap with a null instance). */
#define OBM_COMBO 32738

#endif
