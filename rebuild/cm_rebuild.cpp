/*
** The Rebuild command: the chosen table is locked, copied to its backup, restructured to its
** catalogue definition with the problem records set aside, and copied back from the backup
** when the restructure fails. Every step's failure has its own box, followed by the engine's
** error boxes for an engine failure.
*/
#include "rebuild/zarne_fix_app.h"

#include "platform/framework/frame.h"
#include "platform/kernel/profile.h"
#include "platform/user/winuser.h"
#include "rebuild/rebuild_catalog.h"
#include "rebuild/rebuild_dialog.h"
#include "rebuild/rebuild_ids.h"
#include "rebuild/report_bde_error.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const char* const kDriver = "PARADOX";
const UINT kErrorBox = MB_OK | MB_ICONSTOP;

/* The format with one text filled in. */
std::string Formatted(const char* format, const std::string& text) {
  std::string result(std::strlen(format) + text.size() + 32, '\0');
  int length = std::snprintf(result.data(), result.size(), format, text.c_str());
  result.resize(size_t(length));
  return result;
}

void ErrorBox(const char* format, const std::string& path) {
  ShowFixBox(Formatted(format, path), "Error", kErrorBox);
}

/* directory "\" name, without doubling a separator the directory ends with. */
std::string PathIn(const std::string& directory, const char* name) {
  bool ends = !directory.empty() && (directory.back() == '\\' || directory.back() == '/');
  return directory + (ends ? "" : "\\") + name;
}

/* The paths of one rebuild. */
struct RebuildPaths {
  std::string table;
  std::string backup;
  std::string problems;
};

/* "1 record was" or "n records were". */
std::string Records(DWORD count, const char* singular, const char* plural) {
  return std::to_string(count) + (count == 1 ? singular : plural);
}

/* The success box: what became of the records, and where the damaged original is kept. */
std::string SuccessText(const RebuildPaths& paths, const EngineRestructureCounts& counts,
                        const std::string& earlierBackup) {
  std::string text;
  if (counts.madeEmpty) {
    text = Formatted(
        "Nothing of %s could be read, so no record could be kept. It is now an "
        "empty table, so that work can go on.",
        paths.table);
  } else {
    text = Formatted("%s was successfully rebuilt.", paths.table) + "\n\n" +
           Records(counts.kept, " record was kept.", " records were kept.");
    if (counts.setAside > 0) {
      text += " " +
              Records(counts.setAside, " record could not be kept in the table and was",
                      " records could not be kept in the table and were") +
              Formatted(" set aside in %s.", paths.problems);
    }
    if (counts.damaged) {
      text += "\n\nPart of the file was damaged. ";
      if (!counts.lostCounted) {
        text += "Records stored there may be lost; how many could not be counted.";
      } else if (counts.lost > 0) {
        text += Records(counts.lost, " record stored there is lost.",
                        " records stored there are lost.");
      } else {
        text += "No record was lost.";
      }
    }
  }
  if (counts.damaged) {
    text += Formatted(" The file as it was before the rebuild is kept in %s.", paths.backup);
  }
  if (!earlierBackup.empty()) {
    text += Formatted("\n\nThe earlier backup, which also holds a damaged table, is kept in %s.",
                      earlierBackup);
  }
  return text;
}

class TableRebuild {
 public:
  TableRebuild(EngineDatabase database, const RebuildEntry& entry, RebuildPaths paths)
      : database_(database), entry_(entry), paths_(std::move(paths)) {}

  /* Steps 5 to 11: lock, copy, restructure (restoring on failure), release. */
  void Run() {
    EngineResult result = EngineAcquireTableLock(database_, paths_.table.c_str(), kDriver);
    if (result != ENGINE_OK) {
      ErrorBox("Unable to continue - could not lock %s", paths_.table);
      ReportBdeErrorDetail(result);
      return;
    }
    result = EngineAcquireTableLock(database_, paths_.backup.c_str(), kDriver);
    if (result != ENGINE_OK) {
      ErrorBox("Unable to continue - could not lock %s", paths_.backup);
      ReportBdeErrorDetail(result);
      Release(paths_.table);
      return;
    }
    Rebuild();
    Release(paths_.backup);
    Release(paths_.table);
  }

 private:
  /* The descriptor of the table under another name (a full path). */
  EngineTableCreateDesc DescNamed(const std::string& path) const {
    EngineTableCreateDesc desc = *entry_.desc;
    std::memset(desc.name, 0, sizeof desc.name);
    std::memcpy(desc.name, path.data(), path.size());
    return desc;
  }

  /* A backup that holds a damaged table is the only copy of what could still be read from
       it: before the next backup replaces it, it is copied to the first free numbered name
       (BUYBU1, BUYBU2, ...), which is answered; "" when it needs no keeping. */
  std::string KeepDamagedBackup() {
    EngineTableCreateDesc desc = DescNamed(paths_.backup);
    EngineRestructureCounts counts{};
    if (EngineRestructureTable(database_, 1, &desc, nullptr, nullptr, nullptr, 1) != ENGINE_OK ||
        EngineGetRestructureCounts(&counts) != ENGINE_OK || !counts.damaged) {
      return "";
    }
    for (int n = 1; n < 1000; ++n) {
      std::string numbered = paths_.backup + std::to_string(n);
      EngineResult r =
          EngineCopyTable(database_, 0, paths_.backup.c_str(), kDriver, numbered.c_str());
      if (r == ENGINE_OK) return numbered;
      if (r != ENGINE_ERR_TABLEEXISTS) return "";
    }
    return "";
  }

  void Rebuild() {
    std::string earlierBackup = KeepDamagedBackup();
    EngineResult result =
        EngineCopyTable(database_, 1, paths_.table.c_str(), kDriver, paths_.backup.c_str());
    if (result != ENGINE_OK) {
      ErrorBox("Unable to continue - could not copy %s", paths_.backup);
      ReportBdeErrorDetail(result);
      return;
    }
    // The catalogue's descriptor is constant: the operations hang on a copy, which names
    // the table by its full path, so every step works on the same file even when the
    // directory could not be set.
    EngineTableCreateDesc desc = DescNamed(paths_.table);
    std::unique_ptr<EngineRestructureOp[]> fieldOps(new (std::nothrow)
                                                        EngineRestructureOp[desc.fieldCount]());
    if (!fieldOps) {
      ShowFixBox("Unable to continue - could not allocate memory for pFieldOps", "Error",
                 kErrorBox);
      return;
    }
    for (WORD i = 0; i < desc.fieldCount; ++i) fieldOps[i] = ENGINE_OP_KEEP;
    std::unique_ptr<EngineRestructureOp[]> indexOps;
    if (desc.indexCount > 0) {
      indexOps.reset(new (std::nothrow) EngineRestructureOp[desc.indexCount]());
      if (!indexOps) {
        ShowFixBox("Unable to continue - could not allocate memory for pIndexOps", "Error",
                   kErrorBox);
        return;
      }
      for (WORD i = 0; i < desc.indexCount; ++i) indexOps[i] = ENGINE_OP_REBUILD;
    }
    desc.fieldOps = fieldOps.get();
    desc.indexOps = indexOps.get();
    EngineResult restructured =
        EngineRestructureTable(database_, 1, &desc, nullptr, nullptr, paths_.problems.c_str(), 0);
    EngineRestructureCounts counts{};
    EngineGetRestructureCounts(&counts);
    if (restructured == ENGINE_OK) {
      ShowFixBox(SuccessText(paths_, counts, earlierBackup), "Success",
                 counts.madeEmpty ? MB_OK | MB_ICONEXCLAMATION : MB_OK);
      return;
    }
    if (!counts.replaced) {
      // The rebuilt table is put in place in one step, and that step was not reached.
      ErrorBox("Rebuild of %s failed - the table was not changed.", paths_.table);
      ReportBdeErrorDetail(restructured);
      return;
    }
    ErrorBox("Rebuild of %s failed - original files will be restored.", paths_.table);
    ReportBdeErrorDetail(restructured);
    result = EngineCopyTable(database_, 1, paths_.backup.c_str(), kDriver, paths_.table.c_str());
    if (result != ENGINE_OK) {
      ErrorBox("Could not restore %s.  Call tech support.", paths_.table);
      ReportBdeErrorDetail(result);
    }
  }

  void Release(const std::string& path) {
    EngineResult result = EngineReleaseTableLock(database_, path.c_str(), kDriver);
    if (result != ENGINE_OK) {
      ErrorBox("Unable to release lock on %s.", path);
      ReportBdeErrorDetail(result);
    }
  }

  EngineDatabase database_;
  const RebuildEntry& entry_;
  RebuildPaths paths_;
};

}  // namespace

void ZarneFixApp::CmRebuild() {
  TRebuild dialog(GetMainWindow(), TResId(kRebuildDialog));
  if (dialog.Execute() != IDOK) return;
  const RebuildEntry* entry = FindRebuildEntry(dialog.ChosenName());
  if (!entry || !entry->desc) {
    ShowFixBox(Formatted("'%s' is not a valid Zarne table name.", dialog.ChosenName()), "Error",
               kErrorBox);
    return;
  }
  const char* key = std::strcmp(entry->tableName, "CHECKCTL") == 0 ? "DirCheckCtl" : "DirDatabase";
  char directory[256] = {};
  GetPrivateProfileString("System", key, "", directory, sizeof directory, "zarne.ini");
  if (directory[0] == '\0') {
    ShowFixBox("No zarne.ini entry", key, kErrorBox);
    PostQuitMessage(0);
    return;
  }
  ReportBdeErrorDetail(EngineSetDirectory(database_, directory));
  ReportBdeErrorDetail(EngineSetPrivateDir(directory));

  RebuildPaths paths{PathIn(directory, entry->tableName), PathIn(directory, entry->backupName),
                     PathIn(directory, entry->problemsName)};
  if (paths.table.size() >= sizeof(EngineTableCreateDesc::name)) {
    ErrorBox("Unable to continue - the path %s is too long", paths.table);
    return;
  }
  TableRebuild(database_, *entry, std::move(paths)).Run();
}
