/*
** The screen form's tiles: each drawn by the form painter the first time a paint meets it,
** then copied. A tile is drawn with everything that reaches into it, so its pixels are the
** ones a direct paint of the form leaves there.
*/
#include "statement/form_background.h"

#include "hudform/hudform_exports.h"
#include "hudform/print_layout.h"
#include "platform/gdi/gdi.h"

#include <algorithm>
#include <map>
#include <utility>

#include "hud_print_tables.inc"  // the paper's size

namespace {

constexpr int kTileSize = 256;
// A caption's glyphs may reach a pixel or two past its cell: a tile is drawn with the
// form's parts that come this close to it.
constexpr int kTileMargin = 4;
// The whole form is 75 tiles of 256 KB; a long scroll keeps no more than these.
constexpr size_t kMostTiles = 32;

struct Tile {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};

std::map<std::pair<int, int>, Tile>& Tiles() {
  static std::map<std::pair<int, int>, Tile> tiles;
  return tiles;
}

void DeleteTile(Tile& tile) {
  if (tile.dc) {
    SelectObject(tile.dc, tile.previous);
    DeleteDC(tile.dc);
  }
  if (tile.bitmap) DeleteObject(tile.bitmap);
  tile = Tile{};
}

/* The tile at the column and row, drawn on first use; its DC's origin is the form's. */
HDC TileDC(HDC like, int column, int row) {
  auto& tiles = Tiles();
  auto found = tiles.find({column, row});
  if (found != tiles.end()) return found->second.dc;
  if (tiles.size() >= kMostTiles) DeleteFormBackgroundTiles();
  Tile tile;
  tile.dc = CreateCompatibleDC(like);
  tile.bitmap = CreateCompatibleBitmap(like, kTileSize, kTileSize);
  if (!tile.dc || !tile.bitmap) {
    DeleteTile(tile);
    return nullptr;
  }
  tile.previous = SelectObject(tile.dc, tile.bitmap);
  int left = column * kTileSize, top = row * kTileSize;
  SetWindowOrgEx(tile.dc, left, top, nullptr);
  RECT reach{left - kTileMargin, top - kTileMargin, left + kTileSize - 1 + kTileMargin,
             top + kTileSize - 1 + kTileMargin};
  PaintRespaBackground(tile.dc, &reach);
  tiles.emplace(std::make_pair(column, row), tile);
  return tile.dc;
}

}  // namespace

void PaintFormBackground(HDC dc, const RECT& rect) {
  // Only the paper is the form's: beside and below it the window's background shows.
  int left = std::max(static_cast<int>(rect.left), 0);
  int top = std::max(static_cast<int>(rect.top), 0);
  int right = std::min(static_cast<int>(rect.right) + 1, kScreenFormPaperWidth);
  int bottom = std::min(static_cast<int>(rect.bottom) + 1, kScreenFormPaperHeight);
  for (int row = top / kTileSize; row * kTileSize < bottom; ++row) {
    for (int column = left / kTileSize; column * kTileSize < right; ++column) {
      int x0 = std::max(left, column * kTileSize), y0 = std::max(top, row * kTileSize);
      int x1 = std::min(right, (column + 1) * kTileSize);
      int y1 = std::min(bottom, (row + 1) * kTileSize);
      HDC tile = TileDC(dc, column, row);
      if (!tile) {
        // Without a tile the form is drawn as it always was.
        RECT part{x0, y0, x1 - 1, y1 - 1};
        PaintRespaBackground(dc, &part);
        continue;
      }
      BitBlt(dc, x0, y0, x1 - x0, y1 - y0, tile, x0, y0, SRCCOPY);
    }
  }
}

void DeleteFormBackgroundTiles() {
  for (auto& entry : Tiles()) DeleteTile(entry.second);
  Tiles().clear();
}
