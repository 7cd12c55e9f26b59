/*
** Field scripts: the ZarneBasic texts loaded at start-up from the database directory, one
** per statement field, named after the field ("A101.zbi"), and the run of a field's script
** when that field changes.
*/
#ifndef ZARNE_STATEMENT_RECALC_FIELD_SCRIPTS_H
#define ZARNE_STATEMENT_RECALC_FIELD_SCRIPTS_H

#include "script/zbi_item.h"
#include "statement/recalc_view.h"

#include <vector>

struct TFieldNode;

/* At most one item per table index and field number; filled once at start-up. */
// Owner: statement.
extern std::vector<TZBIItem> gFieldScripts;

/* The box shown for a script file that cannot be read whole. */
constexpr UINT kFieldScriptUnreadableText = 1190;

/* Lists the database directory's "zbi" files and keeps the script of each that names a
   statement field. Of two files for one field, the one whose whole base name is the field's
   name wins, else the first in name order. A file that cannot be opened, sized or read whole
   is skipped after a box. Replaces whatever was loaded before. */
void LoadFieldScripts();

/* The item loaded for the field, or null. */
const TZBIItem* FindFieldScript(const TFieldNode* field);

/* Runs the field's script and then RecalcAll; true when the field has a script. While a
   field's script runs, a change of that same field (its own write-back) runs nothing: the
   run already under way recalculates when it ends. */
bool RunFieldScript(RecalcView& view, const TFieldNode* field);

#endif
