/*
** tabgen32's one operation: create one catalogue table, empty, by name, in a directory the
** caller names, on the database of the caller's engine session. The library keeps no state
** between calls and never starts or ends the engine; it binds to the engine the host process
** has already started because both share the one engine library.
**
** The directory is switched for the creation and always switched back. When the current
** directory cannot be read or the new one cannot be set, nothing is created: creating anyway
** would put the table wherever the database happened to point.
*/
#include "catalogue/tabgen32.h"

#include "catalogue/table_catalog.h"
#include "catalogue/table_error_box.h"
#include "platform/user/message_box.h"
#include "platform/user/window_manager.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

/* Size of a directory buffer as the engine fills it. */
constexpr int kDirectoryBufferSize = 264;

bool Succeeded(EngineResult result) {
  if (result == ENGINE_OK) return true;
  ShowEngineErrorBox();
  return false;
}

bool GetTableDirectory(EngineDatabase database, char* buffer) {
  return Succeeded(EngineGetDirectory(database, FALSE, buffer));
}

bool SetTableDirectory(EngineDatabase database, const char* directory) {
  return Succeeded(EngineSetDirectory(database, directory));
}

bool CreateCatalogTable(EngineDatabase database, const EngineTableCreateDesc* desc) {
  return Succeeded(EngineCreateTable(database, FALSE, desc));
}

/* Catalogue names are plain ASCII, so only a to z need changing. */
void ToUpperAscii(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
  }
}

/* Creates the table in directory and puts the working directory back; true when created. */
bool CreateInDirectory(EngineDatabase database, const EngineTableCreateDesc* desc,
                       const char* directory) {
  char saved[kDirectoryBufferSize] = {};
  if (!GetTableDirectory(database, saved)) return false;
  if (!SetTableDirectory(database, directory)) return false;
  bool created = CreateCatalogTable(database, desc);
  SetTableDirectory(database, saved);
  return created;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int _CreateZarneTable(EngineDatabase database,
                                                                        const char* tableName,
                                                                        const char* directory) {
  int index = -1;
  if (tableName != nullptr) {
    std::size_t length = std::strlen(tableName);
    std::unique_ptr<char[]> name(new (std::nothrow) char[length + 1]);
    if (!name) return 0;
    std::memcpy(name.get(), tableName, length + 1);
    ToUpperAscii(name.get());
    index = FindCatalogIndex(name.get());
  }
  if (index < 0) {
    MessageBox(GetFocus(), "Not a valid Zarne table name.", "Error", MB_OK | MB_ICONSTOP);
    return 0;
  }
  return CreateInDirectory(database, kTableCatalog[index].desc, directory) ? 1 : 0;
}
