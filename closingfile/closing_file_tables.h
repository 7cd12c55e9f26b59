/*
** Where the closing-file dialogs find their records in the view: the table indices of the
** file's records in gTables order.
*/
#ifndef ZARNE_CLOSINGFILE_CLOSING_FILE_TABLES_H
#define ZARNE_CLOSINGFILE_CLOSING_FILE_TABLES_H

namespace file_table {
constexpr int kBuyer = 0;
constexpr int kSeller = 1;
constexpr int kLender = 2;
constexpr int kSagent = 3;
constexpr int kProperty = 4;
constexpr int kSummary1 = 5;
constexpr int kExpense3 = 9;
constexpr int kTitleA = 11;
}  // namespace file_table

#endif
