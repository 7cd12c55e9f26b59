/*
** Fuzz target: the bytes of zarne.ini read as start-up reads the statement options, then
** shown and confirmed in the "HUD-1 Options" and "Default Values" sheets with every page
** visited. Each option read is within its range; a second read neither changes an option
** nor the file, so a repair is written once; confirming a sheet keeps the options as they
** were read, and confirming it again leaves the file byte for byte as the first time did.
** The sheets, a hundred times slower than the reading, are shown for one input in 256 (chosen
** by its bytes), and then each sheet once for each different content of the section it reads
** (every key and value, in order): the HUD-1 sheet [HUD1Options], the Default Values sheet
** [DefaultValues]. The other inputs are only read, at full speed.
**
** Whether a read wrote is told by the file at the path: a profile write replaces the file by
** a rename, so a file other than the one the input was written into means a repair was
** written, and the same file after the second read means it wrote nothing more. The file
** stays from input to input, emptied at the end of each, so that the profile reader holds
** none of an input's bytes and the next input is written into the same file.
**
** The fuzzer counts a feature as rare, for its choice of which input to change next, up to 32
** sightings rather than 255 (settings_files.options): an input that shows the sheets reaches
** thousands of features, and the fuzzer looked every one up in its list of rare ones (some
** six percent of the time while the corpus is first run). What counts as new coverage, and
** so what is kept in the corpus, is decided as before.
*/
#include "fuzz/fuzz_support.h"
#include "fuzz/small_block_checking.h"  // an input releases some 15 to 120 KB
#include "platform/kernel/atomic_file.h"
#include "platform/kernel/profile.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "statement/default_values_sheet.h"
#include "statement/hud1_options.h"
#include "statement/hud1_options_sheet.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string gIniPath;

std::string IniBytes() { return ReadWholeFile(gIniPath).value_or(std::string()); }

/* Which file the path names now (0 when none): a new one after each profile write. */
ino_t IniFile() {
  struct stat info {};
  return ::stat(gIniPath.c_str(), &info) == 0 ? info.st_ino : 0;
}

/* Empties the file and reads it once: the reader then keeps none of the input's bytes, which
   the fuzzer would take for a possible leak (running the input again and searching the heap). */
void EmptyAndForget() {
  FuzzRequire(::truncate(gIniPath.c_str(), 0) == 0, "the input file can be emptied");
  char none[2];
  GetPrivateProfileString(nullptr, nullptr, "", none, sizeof none, "zarne.ini");
}

/* What a sheet reads of the file: the key names of its section with their values. */
std::string SectionContent(const char* section) {
  std::string content;
  char names[8192];
  GetPrivateProfileString(section, nullptr, "", names, sizeof names, "zarne.ini");
  for (const char* name = names; *name; name += std::strlen(name) + 1) {
    char value[1024];
    GetPrivateProfileString(section, name, "", value, sizeof value, "zarne.ini");
    ((content += name) += '=') += value;
    content += '\n';
  }
  return content;
}

/* Whether a sheet has not yet been shown this content of its section (and now counts as
   shown it). */
bool FirstShowing(std::unordered_set<std::string>& shown, std::string content) {
  if (shown.size() > 100000) shown.clear();
  return shown.insert(std::move(content)).second;
}

bool SameOptions(const THud1Options& a, const THud1Options& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckRanges(const THud1Options& o) {
  for (SHORT flag : {o.AutoClose, o.Maximize, o.PrintOptions, o.SigPage3, o.GDILines, o.DateSig})
    FuzzRequire(flag == 0 || flag == 1, "a yes/no option is 0 or 1");
  FuzzRequire(o.MaxWindows >= 1 && o.MaxWindows <= 3, "MaxWindows is 1 to 3");
  FuzzRequire(o.Privacy >= 0 && o.Privacy <= 2, "Privacy is 0 to 2");
}

/* Opens the sheet, shows each page in turn, and confirms it with OK (or cancels it when OK
   is refused). */
template <typename Sheet>
void ConfirmSheet(const char* caption, std::initializer_list<const char*> pages) {
  DialogDriver driver;
  driver.OnDialogCaption(caption, [&](HWND sheet) {
    for (const char* page : pages) SelectSheetTab(sheet, page);
    PressButton(sheet, IDOK);
    // A value the sheet refuses keeps it open after its box: then it is cancelled.
    if (IsWindow(sheet) && IsWindowVisible(sheet)) PressButton(sheet, IDCANCEL);
  });
  Sheet sheet(nullptr);
  sheet.Execute();
  FuzzRequire(driver.Pending() == 0, "the sheet opened");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string root = FuzzScratchDirectory() + "/root";
  ::mkdir(root.c_str(), 0755);
  ::mkdir((root + "/windows").c_str(), 0755);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  gIniPath = root + "/windows/zarne.ini";
  // A box (a day count out of range) answers with its default button.
  SetMessageBoxPresenter(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzWriteFile(gIniPath, data, size);
  const ino_t written = IniFile();
  ReadHud1Options();
  THud1Options read = gHud1Options;
  CheckRanges(read);
  // A read that wrote nothing leaves the second read the very bytes the first had: only a
  // repair can make the two differ, so only then is the file read again.
  const ino_t repaired = IniFile();
  if (repaired != written) {
    ReadHud1Options();
    FuzzRequire(SameOptions(read, gHud1Options), "a second read gives the same options");
    FuzzRequire(IniFile() == repaired, "a repair is written once");
  }

  if (std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(data), size)) %
          256 !=
      0) {
    EmptyAndForget();
    return 0;
  }
  // Both contents as the file stands before either sheet writes to it.
  static std::unordered_set<std::string> optionsShown, defaultsShown;
  const bool showOptions = FirstShowing(optionsShown, SectionContent("HUD1Options"));
  const bool showDefaults = FirstShowing(defaultsShown, SectionContent("DefaultValues"));

  if (showOptions) {
    ConfirmSheet<THUDOptSheet>("HUD-1 Options", {"View", "Print"});
    FuzzRequire(SameOptions(read, gHud1Options), "confirming the sheet keeps the options in force");
    ReadHud1Options();
    FuzzRequire(SameOptions(read, gHud1Options),
                "confirming the sheet keeps the options in the file");
  }
  if (showDefaults) {
    ConfirmSheet<TDefValSheet>("Default Values",
                               {"Settlement Agent", "Recording", "Prorations", "Property"});
    std::string once = IniBytes();
    ConfirmSheet<TDefValSheet>("Default Values",
                               {"Settlement Agent", "Recording", "Prorations", "Property"});
    FuzzRequire(IniBytes() == once, "confirming the default values again changes nothing");
  }
  EmptyAndForget();
  return 0;
}
