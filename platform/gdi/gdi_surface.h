/*
** The seam between windows (platform/user) and drawing: device contexts that paint on a Qt
** paint device, usually a window's backing image, and the Qt forms of drawing objects.
** Only the platform layer includes this header; the system's code sees plain HDCs.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_SURFACE_H
#define ZARNE_PLATFORM_GDI_GDI_SURFACE_H

#include "platform/gdi/gdi.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPoint>
#include <QRegion>

/*
** A device context drawing on `device` (a QImage, or a widget's backing image) whose
** device point (0,0) is the paint device's pixel `deviceOrigin`: a child window painting
** into its parent's image passes its own position there. `clip` is in the paint device's own
** pixels; an empty region means no clipping beyond the device's bounds. The device must
** outlive the DC. Painting happens call by call, so several DCs may share one device.
** Images should be QImage::Format_RGB32: the raster operations (XOR lines, focus rectangles)
** combine colours bit by bit and have no use for an alpha channel.
*/
HDC GdiCreateSurfaceDC(QPaintDevice* device, QPoint deviceOrigin, const QRegion& clip);

/* A surface DC for one paint of a window (BeginPaint to EndPaint): as GdiCreateSurfaceDC, but
** it keeps one painter on the device from its first drawing call to its release, instead of
** beginning one per call. The device must not be replaced or freed while the DC lives
** without GdiEndPaintingOn first; another DC may still paint on it (the kept painter ends). */
HDC GdiCreatePaintDC(QPaintDevice* device, QPoint deviceOrigin, const QRegion& clip);

/* Ends any painter a paint DC keeps on the device: call before the device's pixels are
   replaced (an image reassigned or resized). */
void GdiEndPaintingOn(QPaintDevice* device);

/* Ends a surface DC: TRUE, or FALSE for a handle that is not a live surface DC (a DC
   released twice included). Objects selected into it are deselected, not deleted. */
BOOL GdiReleaseSurfaceDC(HDC dc);

/* The brush as Qt paints with it: a solid colour, a hatch or a pattern image. A null or
   stale handle gives Qt::NoBrush. */
QBrush GdiBrushToQBrush(HBRUSH brush);

/* The font a logical font stands for at the screen's scale (96 dpi, one logical unit per
   pixel): family mapped to the installed metric-compatible family, pixel size from the
   height. A null or stale handle gives the system font. */
QFont GdiFontToQFont(HFONT font);

/* The colour a COLORREF names (RGB values, PALETTERGB and PALETTEINDEX of the default palette). */
QColor GdiColorToQColor(COLORREF color);

/* The picture of an icon from LoadIcon (null image for a bad handle), and its end: the
   window layer's DestroyIcon calls it; the system's shared icons are never freed. */
QImage GdiIconImage(HICON icon);
BOOL GdiDestroyIcon(HICON icon);

/* The picture and hot spot of a cursor resource of a module, for the window layer's
   LoadCursor: the image nearest 32 pixels wide of the cursor group; a null image when the
   module has no such cursor or its data is damaged. */
QImage GdiCursorImage(HINSTANCE instance, LPCSTR name, POINT* hotSpot);

/* Where FillRect finds the colour of a brush given as (HBRUSH)(COLOR_xxx + 1): the window
   layer installs its GetSysColor; until then the classic default scheme answers. */
typedef COLORREF (*SystemColorProvider)(int index);
void GdiSetSystemColorProvider(SystemColorProvider provider);

#endif
