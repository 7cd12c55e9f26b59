/*
** The run-time side of an editor's day: an ordinary program (kind 0, its name is on no list)
** that compiles the saved dialog script with zrc, registers the blob under its own module,
** sets the configuration up into a run-time grid, and creates the dialog, whose grid applies
** its configuration by itself. It prints each grid's summary; the editor's test compares.
**
**   tsruntime <script> <zrc> <source root>
*/
#include "grid/design_services.h"
#include "grid/tests/design_host/grid_summary.h"
#include "platform/kernel/resource_registry.h"
#include "platform/testing/gui_test.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  EnsureTestApplication();
  std::string wrapper = std::string(argv[1]) + ".wrap.rc",
              blobPath = std::string(argv[1]) + ".blob";
  std::ofstream(wrapper, std::ios::binary)
      << "#pragma code_page(1252)\r\n#include \"grid/tessel_codes.h\"\r\n#include \"" << argv[1]
      << "\"\r\n";
  std::string command =
      std::string(argv[2]) + " --blob " + blobPath + " -I " + argv[3] + " " + wrapper;
  if (std::system(command.c_str()) != 0) return 3;
  std::ifstream in(blobPath, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  static std::string blob = bytes.str();
  HINSTANCE module = GetModuleHandle(nullptr);
  if (!RegisterModuleResources(module, blob.data(), blob.size())) return 4;
  if (GetDesignHost(nullptr) != 0 || !LoadLibrary("vgrd32.dll")) return 5;
  HWND parent = CreateWindow("static", "Run", WS_OVERLAPPED, 0, 0, 400, 300, nullptr, nullptr,
                             module, nullptr);
  HWND grid = CreateWindow("Tessel", "", WS_CHILD | TSS_HGRID, 0, 0, 200, 100, parent, nullptr,
                           module, nullptr);
  int setup = SetupTessel(module, "Orders", grid);
  std::printf("setup %d\n%s", setup, GridSummary(grid).c_str());
  HWND dialog = CreateDialog(module, "ORDERDLG", parent, nullptr);
  if (!dialog) return 6;
  HWND own = GetDlgItem(dialog, 300);
  std::printf("kind %d\n%s", GetDesignHost(own), GridSummary(own).c_str());
  return 0;
}
