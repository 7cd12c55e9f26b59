/*
** The statement windows' MDI child and its starting size.
*/
#include "shell/zarne_mdi_child.h"

#include <algorithm>

namespace {
constexpr int kWidestChild = 640;
constexpr int kHeightBelowClient = 74;
}  // namespace

TSize InitialChildSize(const TRect& clientArea) {
  return TSize(std::min(clientArea.Width(), kWidestChild),
               clientArea.Height() - kHeightBelowClient);
}

ZarneMDIChild::ZarneMDIChild(TMDIClient& client, const char* title, TWindow* view)
    : TMDIChild(client, title, view) {
  TSize size = InitialChildSize(client.GetClientRect());
  Attr.W = size.cx;
  Attr.H = size.cy;
}

ZarneMDIChild::~ZarneMDIChild() = default;
