/*
** What the desktop tests look for on the X server's screen and in the window manager's answers:
** boxes of pixels, text pixels, the bands where two pictures differ, and a dialog waiting over
** its owner as the window manager keeps it. Shared so each test says only what it checks.
*/
#ifndef ZARNE_DESKTOP_SCREEN_CHECKS_H
#define ZARNE_DESKTOP_SCREEN_CHECKS_H

#include "desktop/desktop_session.h"

#include <cstdint>
#include <string>

/* A rectangle of screen pixels, right and bottom excluded. */
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  int Pixels() const { return (right - left) * (bottom - top); }
  int MiddleX() const { return (left + right) / 2; }
  int MiddleY() const { return (top + bottom) / 2; }
};

int CountOf(const Screenshot& shot, const Box& box, uint32_t colour);

/* Pixels of text: near black, darker than any frame or background of the form. */
int TextPixels(const Screenshot& shot, const Box& box);

/* The first band of rows, from the top of the area, where the two pictures differ (gaps of a
   few rows kept inside it), and the columns it spans; empty when they do not differ. */
Box FirstChangedBand(const Screenshot& a, const Screenshot& b, const Box& area);

/* The same for the last such band from the top. */
Box LastChangedBand(const Screenshot& a, const Screenshot& b, const Box& area);

/* Waits for the window of that title (a pattern) and until the window manager made it the
   active window; 0 when it never showed. */
long WaitForActive(Desktop& desktop, const std::string& title);

/* A dialog as the window manager keeps it: its owner's transient, of the dialog type, stacked
   above its owner, and neither the program nor the window manager busy while it waits. */
void ExpectDialogOverOwner(Desktop& desktop, long dialog, long owner, const std::string& what);

/* The window is the top of the window manager's stacking. */
void ExpectOnTop(Desktop& desktop, long window, const std::string& what);

#endif
