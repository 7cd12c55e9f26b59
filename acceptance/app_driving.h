/*
** Driving zarne32's application in a program of its own (the documentation's picture, the
** second workstation): its loop run until idle, and the File menu by keys with the
** file-number dialog answered.
*/
#ifndef ZARNE_ACCEPTANCE_APP_DRIVING_H
#define ZARNE_ACCEPTANCE_APP_DRIVING_H

#include <string>

class RespaWindow;
class ZarneApp;

/* Dispatches every waiting message as the program's loop does. */
void PumpApp(ZarneApp& app);
/* Alt+F and the item's letter. */
void FileMenuByKeys(ZarneApp& app, char letter);
/* Alt+F, the letter, the number typed into the file-number dialog and Enter (Cancel when the
   dialog stays); answers the number's statement window, null when none opened. */
RespaWindow* FileCommandByKeys(ZarneApp& app, char letter, const std::string& number);

#endif
