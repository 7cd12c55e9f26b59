/*
** The handle tables of drawing objects and device contexts. Handles are numbers that are
** never reused, so a stale handle stays invalid instead of naming a newer object; selection
** counts implement the platform's rule that an object deleted while selected lives on until
** the last DC lets go of it.
*/
#include "platform/gdi/gdi_internal.h"

#include <QCoreApplication>

#include <unordered_map>

namespace zarne::gdi {

namespace {

/* Handles step by 4 from a base above the small integers resources use. */
// Owner: platform/gdi.
uintptr_t gNextHandle = 0x40000;

std::unordered_map<uintptr_t, std::unique_ptr<GdiObject>>& Objects() {
  static std::unordered_map<uintptr_t, std::unique_ptr<GdiObject>> objects;
  return objects;
}

std::unordered_map<uintptr_t, std::unique_ptr<DeviceContext>>& Dcs() {
  static std::unordered_map<uintptr_t, std::unique_ptr<DeviceContext>> dcs;
  return dcs;
}

uintptr_t NewHandleValue() {
  gNextHandle += 4;
  return gNextHandle;
}

}  // namespace

HGDIOBJ RegisterObject(std::unique_ptr<GdiObject> object) {
  uintptr_t value = NewHandleValue();
  Objects()[value] = std::move(object);
  return reinterpret_cast<HGDIOBJ>(value);
}

GdiObject* LookupObject(HGDIOBJ handle) {
  auto found = Objects().find(reinterpret_cast<uintptr_t>(handle));
  if (found == Objects().end()) return nullptr;
  return found->second.get();
}

GdiObject* LookupObject(HGDIOBJ handle, ObjectKind kind) {
  GdiObject* object = LookupObject(handle);
  return object && object->kind == kind ? object : nullptr;
}

GdiObject* LiveObject(HGDIOBJ handle) {
  GdiObject* object = LookupObject(handle);
  return object && !object->deletePending ? object : nullptr;
}

GdiObject* LiveObject(HGDIOBJ handle, ObjectKind kind) {
  GdiObject* object = LiveObject(handle);
  return object && object->kind == kind ? object : nullptr;
}

void EraseObject(HGDIOBJ handle) { Objects().erase(reinterpret_cast<uintptr_t>(handle)); }

/* DCs left open when the application object goes end with it: a printer's painter must not
   outlive the GUI it paints through. */
void EndAllDCs() {
  std::vector<uintptr_t> open;
  for (const auto& [value, dc] : Dcs()) open.push_back(value);
  for (uintptr_t value : open) {
    DeviceContext* dc = LookupDC(reinterpret_cast<HDC>(value));
    if (dc && dc->kind == DcKind::Printer) AbortPrintJob(*dc);
    DestroyDC(reinterpret_cast<HDC>(value));
  }
}

HDC RegisterDC(std::unique_ptr<DeviceContext> dc) {
  static bool endRegistered = false;
  if (!endRegistered && QCoreApplication::instance()) {
    qAddPostRoutine(EndAllDCs);
    endRegistered = true;
  }
  uintptr_t value = NewHandleValue();
  Dcs()[value] = std::move(dc);
  return reinterpret_cast<HDC>(value);
}

DeviceContext* LookupDC(HDC handle) {
  auto found = Dcs().find(reinterpret_cast<uintptr_t>(handle));
  if (found == Dcs().end()) return nullptr;
  return found->second.get();
}

void RetainObject(HGDIOBJ handle) {
  if (GdiObject* object = LookupObject(handle)) ++object->selections;
}

void ReleaseObject(HGDIOBJ handle) {
  GdiObject* object = LookupObject(handle);
  if (!object) return;
  if (object->selections > 0) --object->selections;
  if (object->selections == 0 && object->deletePending)
    Objects().erase(reinterpret_cast<uintptr_t>(handle));
}

void RetainState(const DcState& state) {
  RetainObject(state.pen);
  RetainObject(state.brush);
  RetainObject(state.font);
  RetainObject(state.bitmap);
}

void ReleaseState(const DcState& state) {
  ReleaseObject(state.pen);
  ReleaseObject(state.brush);
  ReleaseObject(state.font);
  ReleaseObject(state.bitmap);
}

DcState DefaultState() {
  DcState state;
  state.pen = GetStockObject(BLACK_PEN);
  state.brush = GetStockObject(WHITE_BRUSH);
  state.font = GetStockObject(SYSTEM_FONT);
  RetainState(state);
  return state;
}

void DestroyDC(HDC handle) {
  auto found = Dcs().find(reinterpret_cast<uintptr_t>(handle));
  if (found == Dcs().end()) return;
  std::unique_ptr<DeviceContext> dc = std::move(found->second);
  Dcs().erase(found);
  EndKeptPainter(*dc);
  for (const DcState& saved : dc->saved) ReleaseState(saved);
  ReleaseState(dc->state);
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

int GetObjectType(HGDIOBJ object) {
  if (DeviceContext* dc = LookupDC(static_cast<HDC>(object)))
    return dc->kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
  GdiObject* found = LiveObject(object);
  if (!found) return 0;
  switch (found->kind) {
    case ObjectKind::Pen: return OBJ_PEN;
    case ObjectKind::Brush: return OBJ_BRUSH;
    case ObjectKind::Font: return OBJ_FONT;
    case ObjectKind::Bitmap: return OBJ_BITMAP;
    case ObjectKind::Region: return OBJ_REGION;
    case ObjectKind::Palette: return OBJ_PAL;
  }
  return 0;
}
