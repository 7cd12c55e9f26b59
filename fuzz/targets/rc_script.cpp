/*
** Fuzz target: the text of a resource script, compiled as zrc compiles it (preprocessor,
** parser, the module blob and the generated source and dependency list). The one accepted
** failure is a compile error that names the file and line; anything else that escapes, and
** any crash, hang or runaway memory, is a fault.
*/
#include "fuzz/fuzz_support.h"
#include "tools/rc/rc_output.h"
#include "tools/rc/rc_preprocessor.h"
#include "tools/rc/rc_resource_set.h"
#include "tools/rc/rc_script_parser.h"

#include <cctype>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

/* "<file>:<line>: <message>": the script or a file it included, and a line number. */
bool NamesFileAndLine(const std::string& description) {
  for (size_t colon = description.find(':'); colon != std::string::npos;
       colon = description.find(':', colon + 1)) {
    size_t digits = colon + 1;
    while (digits < description.size() &&
           std::isdigit(static_cast<unsigned char>(description[digits])))
      ++digits;
    if (colon > 0 && digits > colon + 1 && description.compare(digits, 2, ": ") == 0)
      return description.compare(0, colon, "<command line>") != 0;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string script = FuzzScratchDirectory() + "/fuzz.rc";
  FuzzWriteFile(script, data, size);
  rc::Preprocessor preprocessor({FuzzScratchDirectory()});
  rc::ResourceSet resources;
  try {
    rc::CompileScript(script, preprocessor, resources);
  } catch (const rc::CompileError& error) {
    FuzzRequire(NamesFileAndLine(error.Describe()), "a compile error names the script and a line");
    return 0;
  }
  // What the build is told to watch must be files it can read.
  for (const std::string& dependency : preprocessor.Dependencies()) {
    struct stat status {};
    FuzzRequire(::stat(dependency.c_str(), &status) == 0 && S_ISREG(status.st_mode),
                "every file a script read is a regular file");
  }
  std::vector<uint8_t> blob = resources.BuildBlob();
  std::string source = rc::GenerateSource(blob, {script});
  FuzzRequire(!source.empty(), "a compiled script gives a source");
  rc::GenerateDependencies(FuzzScratchDirectory() + "/fuzz.cpp", preprocessor.Dependencies());
  return 0;
}
