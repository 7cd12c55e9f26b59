/*
** The Exceptions dialog: one list, its filter taken from the string table at each load.
*/
#include "closingfile/exceptions_dialog.h"

#include "grid/tessel_codes.h"

namespace {

constexpr UINT kExceptionFilter = 1042;

std::vector<TTitleItemList> ExceptionLists() {
  TTitleItemList exceptions{"2",
                            101,
                            100,
                            201,
                            202,
                            203,
                            "Add Exception",
                            "Modify Exception",
                            "Delete Exception",
                            nullptr,
                            kExceptionFilter};
  return {exceptions};
}

}  // namespace

TExceptions::TExceptions(TClosingFileView* view, TResId resId, TModule* module)
    : TTitleItemsDialog(view, resId, module, ExceptionLists()) {}

DEFINE_RESPONSE_TABLE1(TExceptions, TTitleItemsDialog)
EV_COMMAND(100, CmLoad), EV_COMMAND(201, CmAdd), EV_COMMAND(202, CmModify),
    EV_COMMAND(203, CmDelete), EV_CHILD_NOTIFY(101, TSN_KEYDOWN, EvKey), END_RESPONSE_TABLE;
