/*
** The field scripts as start-up and the statement reach them: gFieldScripts and
** LoadFieldScripts, kept with the recalculation that runs them.
*/
#ifndef ZARNE_STATEMENT_FIELD_SCRIPTS_H
#define ZARNE_STATEMENT_FIELD_SCRIPTS_H

#include "statement/recalc_field_scripts.h"

#endif
