/*
** Whole-cent totals of the per-file printouts.
*/
#include "accounting/disbursement_items.h"

#include <cmath>

long double ToWholeCents(long double total) { return std::roundl(total * 100.0L) / 100.0L; }
