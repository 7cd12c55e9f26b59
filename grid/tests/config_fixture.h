/*
** The fixture of the saved-configuration tests: win.ini written in the test's own root
** before the library loads (its switches are read once, at load), a parent window, and
** helpers that save, load and read back whole column definitions.
*/
#ifndef ZARNE_GRID_TESTS_CONFIG_FIXTURE_H
#define ZARNE_GRID_TESTS_CONFIG_FIXTURE_H

#include "grid/configurations.h"
#include "grid/design_services.h"
#include "grid/tessel.h"
#include "grid/tessel_record.h"
#include "platform/kernel/resource_registry.h"
#include "platform/testing/gui_test.h"

#include <cstring>
#include <string>
#include <vector>

class ConfigTest : public GuiTest {
 protected:
  /* Loads the library with the two switches as win.ini gives them ("" leaves one unset). */
  void Load(const char* styleNames = "", const char* privStyle = "") {
    if (*styleNames) WriteProfileString("Tessel", "RCVersion31", styleNames);
    if (*privStyle) WriteProfileString("Tessel", "WritePrivStyle", privStyle);
    library_ = LoadLibrary("vgrd32.dll");
    ASSERT_NE(library_, nullptr);
    parent_ = CreateWindow("static", "Parent", WS_OVERLAPPED | WS_VISIBLE, 20, 20, 700, 500,
                           nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    for (auto& blob : blobs_) UnregisterModuleResources(library_, blob.data());
    if (parent_ && IsWindow(parent_)) DestroyWindow(parent_);
    if (library_) FreeLibrary(library_);
    GuiTest::TearDown();
  }

  HWND MakeGrid(DWORD style = TSS_HGRID | TSS_VGRID, const char* text = "", int id = 200) {
    return CreateWindow("Tessel", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 400, 200, parent_,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
  static LRESULT Send(HWND grid, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessage(grid, message, wParam, lParam);
  }

  struct Column {
    uint16_t flags = 0, type = 0, length = 0, width = 0;
    uint32_t value1 = 0, value2 = 0, editStyle = 0;
    std::string format, heading, name, listItems;
    bool operator==(const Column&) const = default;
  };
  static LRESULT SetColumn(HWND grid, int column, const Column& c) {
    TesselColDefEx record{};
    record.version = 25;
    record.flags = c.flags;
    record.type = c.type;
    record.length = c.length;
    record.width = c.width;
    record.value1 = c.value1;
    record.value2 = c.value2;
    record.editStyle = c.editStyle;
    record.format = const_cast<char*>(c.format.c_str());
    record.heading = const_cast<char*>(c.heading.c_str());
    record.name = const_cast<char*>(c.name.c_str());
    record.listItems = const_cast<char*>(c.listItems.c_str());
    return Send(grid, TSM_SETCOLDEFEX, static_cast<WPARAM>(column),
                reinterpret_cast<LPARAM>(&record));
  }
  static Column GetColumn(HWND grid, int column) {
    std::vector<char> format(TS_FORMATLIMIT), heading(TS_HEADINGLIMIT), name(TS_NAMELIMIT);
    std::vector<char> list(
        static_cast<size_t>(std::max<LRESULT>(1, Send(grid, TSM_GETLISTITEMSSIZE, column))));
    TesselColDefEx record{};
    record.version = 25;
    record.format = format.data();
    record.heading = heading.data();
    record.name = name.data();
    record.listItems = list.data();
    Column c;
    if (Send(grid, TSM_GETCOLDEFEX, static_cast<WPARAM>(column),
             reinterpret_cast<LPARAM>(&record)) != 0)
      return c;
    c.flags = record.flags;
    c.type = record.type;
    c.length = record.length;
    c.width = record.width;
    c.value1 = record.value1;
    c.value2 = record.value2;
    c.editStyle = record.editStyle;
    c.format = format.data();
    c.heading = heading.data();
    c.name = name.data();
    c.listItems = list.data();
    return c;
  }
  static std::vector<Column> Columns(HWND grid) {
    std::vector<Column> columns;
    for (int c = 0; c < Send(grid, TSM_GETCOLCOUNT); ++c) columns.push_back(GetColumn(grid, c));
    return columns;
  }

  /* The grid's configuration text; the block starts small so that the writer must grow it. */
  static std::string SaveText(HWND grid, const char* name, int* result = nullptr) {
    HGLOBAL block = GlobalAlloc(GHND, 8);
    int r = DlgBuffSaveTessel(block, name, grid);
    if (result) *result = r;
    std::string text = static_cast<const char*>(GlobalLock(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return text;
  }
  /* Loads from a block of exactly the text's bytes, without a terminator, so that reading
     past the text's end is a fault the sanitizer sees. */
  static int LoadText(HWND grid, const std::string& text, const char* name) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size());
    if (!text.empty()) std::memcpy(GlobalLock(block), text.data(), text.size());
    GlobalUnlock(block);
    int result = DlgBuffLoadTessel(block, name, grid);
    GlobalFree(block);
    return result;
  }

  /* A resource blob of one TESSELCFG resource, laid out as the resource compiler makes it,
     registered under the library's module. */
  void RegisterConfig(const std::string& name, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> blob = {'Z', 'R', 'E', 'S', 1, 0, 0, 0, 1, 0, 0, 0};
    auto text = [&](const std::string& s) {
      blob.push_back(2);
      for (char c : s)
        blob.push_back(static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(c))));
      blob.push_back(0);
    };
    text("TESSELCFG");
    text(name);
    blob.insert(blob.end(), {0, 0});
    uint32_t size = static_cast<uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) blob.push_back(static_cast<uint8_t>(size >> (8 * i)));
    while (blob.size() % 4) blob.push_back(0);
    blob.insert(blob.end(), data.begin(), data.end());
    blobs_.push_back(blob);
    ASSERT_TRUE(RegisterModuleResources(library_, blobs_.back().data(), blobs_.back().size()));
  }

  HMODULE library_ = nullptr;
  HWND parent_ = nullptr;
  std::vector<std::vector<uint8_t>> blobs_;
};

#endif
