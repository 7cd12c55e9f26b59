/*
** The Requirements dialog: its two lists and the buttons that work on each.
*/
#include "closingfile/requirements_dialog.h"

#include "grid/tessel_codes.h"

namespace {

std::vector<TTitleItemList> RequirementLists() {
  TTitleItemList recording{"1A",
                           101,
                           100,
                           201,
                           202,
                           203,
                           "Add Recording Requirement",
                           "Modify Recording Requirement",
                           "Delete Recording Requirement",
                           "Rec. Req. (*.B1A)|*.B1A|AllFiles (*.*)|*.*|",
                           0};
  TTitleItemList other{"1B",
                       301,
                       300,
                       401,
                       402,
                       403,
                       "Add Other Requirement",
                       "Modify Other Requirement",
                       "Delete Other Requirement",
                       "Other Req. (*.B1B)|*.B1B|AllFiles (*.*)|*.*|",
                       0};
  return {recording, other};
}

}  // namespace

TRequirements::TRequirements(TClosingFileView* view, TResId resId, TModule* module)
    : TTitleItemsDialog(view, resId, module, RequirementLists()) {}

DEFINE_RESPONSE_TABLE1(TRequirements, TTitleItemsDialog)
EV_COMMAND(100, CmLoadRecording), EV_COMMAND(201, CmAddRecording),
    EV_COMMAND(202, CmModifyRecording), EV_COMMAND(203, CmDeleteRecording),
    EV_CHILD_NOTIFY(101, TSN_KEYDOWN, EvRecordingKey), EV_COMMAND(300, CmLoadOther),
    EV_COMMAND(401, CmAddOther), EV_COMMAND(402, CmModifyOther), EV_COMMAND(403, CmDeleteOther),
    EV_CHILD_NOTIFY(301, TSN_KEYDOWN, EvOtherKey), END_RESPONSE_TABLE;
