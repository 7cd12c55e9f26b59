/*
** Fills the statement window's recalculation seam with the rules: the commit's recalculation
** and date moves, and the twelve column sums of the window's set-up. Start-up calls it once,
** before any statement window opens.
*/
#ifndef ZARNE_STATEMENT_RECALC_INSTALL_H
#define ZARNE_STATEMENT_RECALC_INSTALL_H

void InstallRecalculation();

#endif
