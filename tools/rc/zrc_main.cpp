/*
** zrc, the resource compiler: compiles one module's resource scripts into a C++ source that
** embeds and registers them.
**
**   zrc -o <output.cpp> [-d <depfile>] [-I <directory>]... <script.rc>...
**   zrc --blob <file> [-I <directory>]... <script.rc>...
**
** --blob writes the resource blob itself, byte for byte the one the source would embed, so a
** program can register resources compiled at run time.
** All scripts form one module: a resource or string id defined twice is an error. Errors are
** reported as "file:line: message" on standard error, and the exit code is 1.
*/
#include "tools/rc/rc_output.h"
#include "tools/rc/rc_preprocessor.h"
#include "tools/rc/rc_resource_set.h"
#include "tools/rc/rc_script_parser.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Options {
  std::string output;
  std::string depfile;
  std::string blob;
  std::vector<std::string> includeDirectories;
  std::vector<std::string> scripts;
};

bool ParseArguments(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    bool hasValue = i + 1 < argc;
    if (argument == "-o" && hasValue) options->output = argv[++i];
    else if (argument == "-d" && hasValue) options->depfile = argv[++i];
    else if (argument == "--blob" && hasValue) options->blob = argv[++i];
    else if (argument == "-I" && hasValue) options->includeDirectories.push_back(argv[++i]);
    else if (argument.size() > 2 && argument.compare(0, 2, "-I") == 0)
      options->includeDirectories.push_back(argument.substr(2));
    else if (!argument.empty() && argument[0] == '-') return false;
    else options->scripts.push_back(argument);
  }
  return !(options->output.empty() && options->blob.empty()) && !options->scripts.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: zrc -o <output.cpp> [-d <depfile>] [-I <dir>]... <script.rc>...\n"
                 "       zrc --blob <file> [-I <dir>]... <script.rc>...\n");
    return 2;
  }
  rc::Preprocessor preprocessor(options.includeDirectories);
  rc::ResourceSet resources;
  try {
    for (const auto& script : options.scripts) rc::CompileScript(script, preprocessor, resources);
  } catch (const rc::CompileError& error) {
    std::fprintf(stderr, "%s\n", error.Describe().c_str());
    return 1;
  }
  std::vector<uint8_t> blob = resources.BuildBlob();
  if (!options.blob.empty() &&
      !rc::WriteFile(options.blob, std::string(blob.begin(), blob.end()))) {
    std::fprintf(stderr, "%s: cannot write the blob\n", options.blob.c_str());
    return 1;
  }
  if (options.output.empty()) return 0;
  if (!rc::WriteFile(options.output, rc::GenerateSource(blob, options.scripts))) {
    std::fprintf(stderr, "%s: cannot write the output\n", options.output.c_str());
    return 1;
  }
  if (!options.depfile.empty() &&
      !rc::WriteFile(options.depfile,
                     rc::GenerateDependencies(options.output, preprocessor.Dependencies()))) {
    std::fprintf(stderr, "%s: cannot write the dependency file\n", options.depfile.c_str());
    return 1;
  }
  return 0;
}
