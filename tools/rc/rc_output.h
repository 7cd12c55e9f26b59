/*
** What zrc writes: the C++ source that embeds a module's resource blob and registers it with
** the kernel under the module it is linked into, and the dependency file for the build.
*/
#ifndef ZARNE_TOOLS_RC_RC_OUTPUT_H
#define ZARNE_TOOLS_RC_RC_OUTPUT_H

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace rc {

std::string GenerateSource(const std::vector<uint8_t>& blob,
                           const std::vector<std::string>& scripts);
std::string GenerateDependencies(const std::string& output, const std::set<std::string>& inputs);

/* Writes the whole file; false when it cannot be written. */
bool WriteFile(const std::string& path, const std::string& content);

}  // namespace rc

#endif
