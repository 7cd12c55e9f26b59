/*
** Screenshots of windows for tests: what the window shows now (its frame, client area and
** child windows), after the painting that is due has been done.
*/
#ifndef ZARNE_PLATFORM_TESTING_SCREENSHOT_H
#define ZARNE_PLATFORM_TESTING_SCREENSHOT_H

#include "platform/kernel/wintypes.h"

#include <QImage>

#include <string>

QImage GrabWindow(HWND hwnd);
/* Writes the window as a PNG file; false for a bad window or an unwritable path. */
bool SaveWindowScreenshot(HWND hwnd, const std::string& pngPath);

#endif
