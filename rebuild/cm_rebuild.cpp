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

/* The success box: its first sentence, and what happened to records that were not kept. */
std::string SuccessText(const RebuildPaths& paths) {
    std::string text = Formatted("%s was successfully rebuilt.", paths.table);
    EngineRestructureCounts counts{};
    EngineGetRestructureCounts(&counts);
    if (counts.setAside == 1) {
        text += Formatted("\n\n1 record could not be kept in the table and was set aside in %s.",
                          paths.problems);
    } else if (counts.setAside > 1) {
        char count[24];
        std::snprintf(count, sizeof count, "%lu", static_cast<unsigned long>(counts.setAside));
        text += "\n\n" + std::string(count) +
                Formatted(" records could not be kept in the table and were set aside in %s.",
                          paths.problems);
    }
    if (counts.skipped > 0) {
        text += Formatted("\n\nPart of the file could not be read, and the records stored there "
                          "are missing from the table. The file as it was before the rebuild is "
                          "kept in %s.",
                          paths.backup);
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
    void Rebuild() {
        EngineResult result = EngineCopyTable(database_, 1, paths_.table.c_str(), kDriver,
                                              paths_.backup.c_str());
        if (result != ENGINE_OK) {
            ErrorBox("Unable to continue - could not copy %s", paths_.backup);
            ReportBdeErrorDetail(result);
            return;
        }
        // The catalogue's descriptor is constant: the operations hang on a copy, which names
        // the table by its full path, so every step works on the same file even when the
        // directory could not be set.
        EngineTableCreateDesc desc = *entry_.desc;
        std::memset(desc.name, 0, sizeof desc.name);
        std::memcpy(desc.name, paths_.table.data(), paths_.table.size());
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
                ShowFixBox("Unable to continue - could not allocate memory for pIndexOps",
                           "Error", kErrorBox);
                return;
            }
            for (WORD i = 0; i < desc.indexCount; ++i) indexOps[i] = ENGINE_OP_REBUILD;
        }
        desc.fieldOps = fieldOps.get();
        desc.indexOps = indexOps.get();
        EngineResult restructured = EngineRestructureTable(database_, 1, &desc, nullptr, nullptr,
                                                      paths_.problems.c_str(), 0);
        if (restructured == ENGINE_OK) {
            ShowFixBox(SuccessText(paths_), "Success", MB_OK);
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
        ShowFixBox(Formatted("'%s' is not a valid Zarne table name.", dialog.ChosenName()),
                   "Error", kErrorBox);
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
