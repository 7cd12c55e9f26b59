/*
** Colours of standard controls built on Qt widgets (edit, list box, combo box): before the
** widget paints, the control asks its parent with WM_CTLCOLOREDIT or WM_CTLCOLORLISTBOX, as
** a control of the original platform does while painting, and shows the text colour left in
** the device context and the brush answered (or the background colour when none).
*/
#ifndef ZARNE_PLATFORM_USER_CONTROL_COLORS_H
#define ZARNE_PLATFORM_USER_CONTROL_COLORS_H

#include "platform/user/window_manager.h"
#include "platform/user/window_types.h"

class QWidget;

/* Asks `parent` now and gives `widget` the colours it answers. */
void ApplyParentColors(HWND hwnd, HWND parent, UINT ctlColorMessage, QWidget* widget);
/* Asks the control's parent (or the window SetControlColorParent named) each time
** `paintTarget` is about to paint; `widget` shows the colours. */
void AskParentColorsWhenPainting(HWND hwnd, UINT ctlColorMessage, QWidget* paintTarget,
                                 QWidget* widget);
/* SetControlColorParent is public: window_manager.h. */

#endif
