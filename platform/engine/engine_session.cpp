/*
** The engine session: start and end, the private directory, databases and their working
** directories, and how table names become host paths.
*/
#include "platform/engine/engine_internal.h"
#include "platform/engine/engine_locks.h"

#include "platform/kernel/paths.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <set>
#include <sys/stat.h>

struct EngineDatabase__ {
  std::string directory;
};

namespace zarne::engine {
namespace {

// Owner: platform/engine.
bool gActive = false;
std::string gPrivateDir;
std::set<EngineDatabase> gDatabases;

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

/* The kernel's current directory (a Windows path), where bare names resolve by default. */
std::string WorkingDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetCurrentDirectory(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : ".";
}

}  // namespace

std::string MapToHostPath(const std::string& path) { return HostPathFromWindowsPath(path.c_str()); }

std::string TableHostPath(const std::string& directory, const std::string& name,
                          const char* extension) {
  bool hasDirectory = name.find_first_of("\\/:") != std::string::npos;
  std::string full = name;
  if (!hasDirectory) {
    std::string dir = directory.empty() ? WorkingDirectory() : directory;
    bool hostDir = !dir.empty() && dir[0] == '/';
    char sep = hostDir ? '/' : '\\';
    full = dir + (dir.back() == sep ? "" : std::string(1, sep)) + name;
  }
  size_t lastSep = full.find_last_of("\\/");
  size_t dot = full.find_last_of('.');
  if (dot == std::string::npos || (lastSep != std::string::npos && dot < lastSep)) {
    full += extension;
  }
  return MapToHostPath(full);
}

std::string WithExtension(const std::string& hostPath, const char* extension) {
  size_t slash = hostPath.find_last_of('/');
  size_t dot = hostPath.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return hostPath + extension;
  }
  return hostPath.substr(0, dot) + extension;
}

std::string ShownTableName(const std::string& directory, const std::string& name) {
  if (name.find_first_of("\\/:") != std::string::npos || directory.empty()) return name;
  char sep = directory[0] == '/' ? '/' : '\\';
  return directory + (directory.back() == sep ? "" : std::string(1, sep)) + name;
}

std::string BareName(const std::string& path) {
  size_t slash = path.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string PrivateHostDirectory() {
  std::string dir = gPrivateDir.empty() ? std::string("/tmp") : MapToHostPath(gPrivateDir);
  return MakeHostDirectories(dir) ? dir : std::string();
}

bool IsOpenDatabase(EngineDatabase database) { return gDatabases.count(database) != 0; }

std::string DatabaseDirectory(EngineDatabase database) {
  if (!IsOpenDatabase(database) || database->directory.empty()) return WorkingDirectory();
  return database->directory;
}

}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineInit(WORD version, const void* environment) {
  if (EngineResult planned = PlannedFailureOf("EngineInit")) return planned;
  // Memory statistics cost a global mutex on every allocation; the engine reads none.
  // (Refused harmlessly when SQLite was already started.)
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  gActive = true;
  return ENGINE_OK;
}

EngineResult EngineExit() {
  if (EngineResult planned = PlannedFailureOf("EngineExit")) return planned;
  if (!gActive) return Fail(ENGINE_ERR_NOTINITIALIZED);
  CloseAllCursors();
  ReleaseAllTableLocks();
  for (EngineDatabase database : gDatabases) delete database;
  gDatabases.clear();
  gActive = false;
  return ENGINE_OK;
}

EngineResult EngineSetPrivateDir(const char* directory) {
  if (EngineResult planned = PlannedFailureOf("EngineSetPrivateDir")) return planned;
  if (!gActive) return Fail(ENGINE_ERR_NOTINITIALIZED);
  if (!directory || !*directory) return Fail(ENGINE_ERR_INVALIDPARAM, {"Private directory"});
  gPrivateDir = directory;
  return ENGINE_OK;
}

EngineResult EngineOpenDatabase(const char* name, const char* type, DWORD openMode, DWORD shareMode,
                                const char* password, WORD optionCount, const void* optionDescs,
                                const void* optionData, EngineDatabase* database) {
  if (EngineResult planned = PlannedFailureOf("EngineOpenDatabase")) return planned;
  if (!database) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineOpenDatabase: no result"});
  *database = nullptr;
  if (!gActive) return Fail(ENGINE_ERR_NOTINITIALIZED);
  if (name && *name) {
    return Fail(ENGINE_ERR_NOTSUPPORTED,
                {"Only the standard database is available", std::string("Database ") + name});
  }
  EngineDatabase opened = new EngineDatabase__;
  gDatabases.insert(opened);
  *database = opened;
  return ENGINE_OK;
}

EngineResult EngineCloseDatabase(EngineDatabase* database) {
  if (EngineResult planned = PlannedFailureOf("EngineCloseDatabase")) return planned;
  if (!database || !IsOpenDatabase(*database)) return Fail(ENGINE_ERR_INVALIDHANDLE);
  gDatabases.erase(*database);
  delete *database;
  *database = nullptr;
  return ENGINE_OK;
}

EngineResult EngineGetDirectory(EngineDatabase database, BOOL defaultDir, char* buffer) {
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE);
  if (!buffer) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineGetDirectory: no buffer"});
  std::string dir = defaultDir ? WorkingDirectory() : DatabaseDirectory(database);
  size_t n = std::min<size_t>(dir.size(), 263);
  std::memcpy(buffer, dir.data(), n);
  buffer[n] = '\0';
  return ENGINE_OK;
}

EngineResult EngineSetDirectory(EngineDatabase database, const char* directory) {
  if (EngineResult planned = PlannedFailureOf("EngineSetDirectory")) return planned;
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE);
  if (!directory) {
    database->directory.clear();
    return ENGINE_OK;
  }
  if (std::strlen(directory) > 260) {
    return Fail(ENGINE_ERR_INVALIDPARAM, {"Directory name too long"});
  }
  std::string host = MapToHostPath(directory);
  if (!IsDirectory(host)) {
    return Fail(ENGINE_ERR_DIRNOTFOUND,
                {std::string("Directory ") + directory, "It does not exist"});
  }
  database->directory = directory;
  return ENGINE_OK;
}

EngineResult EngineDoIdleWork() { return ENGINE_OK; }
