/*
** The table-access helpers' boxes, shared so every helper words and owns them alike.
*/
#include "tableaccess/system_boxes.h"

#include "platform/kernel/resources.h"
#include "platform/user/message_box.h"
#include "platform/user/window_manager.h"

namespace {
constexpr UINT kSystemErrorCaption = 1002;
}

ResourceString::ResourceString(UINT id) {
  text[0] = '\0';
  LoadString(nullptr, id, text, sizeof text);
}

HWND FocusOwner() { return GetFocus(); }

void ShowSystemError(UINT textId) {
  MessageBox(FocusOwner(), ResourceString(textId).text, ResourceString(kSystemErrorCaption).text,
             MB_ICONSTOP | MB_OK);
}
