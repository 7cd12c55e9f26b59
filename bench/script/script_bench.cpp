/*
** Times a loop of 1,000,000 iterations of arithmetic and a comparison in ZarneBasic, then
** the same loop in Lua 5.4 (lua5.4 on the PATH) in the same run, and prints both times
** and their ratio. Lua times its own loop, so its start-up is not counted.
*/
#include "script/script_globals.h"
#include "script/zbasic.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

const char kZarneLoop[] =
    "i = 0\n"
    "s = 0\n"
    "while i < 1000000\n"
    "  s = s + i * 2 - 1\n"
    "  i = i + 1\n"
    "endwhile\n"
    "AcctAmount = s\n";

const char kLuaLoop[] =
    "local t0 = os.clock()\n"
    "local i = 0\n"
    "local s = 0\n"
    "while i < 1000000 do\n"
    "  s = s + i * 2 - 1\n"
    "  i = i + 1\n"
    "end\n"
    "io.write(string.format('%.6f %d\\n', os.clock() - t0, s))\n";

double TimeZarneBasic(std::string* result) {
  TZBasic basic(nullptr);
  auto start = std::chrono::steady_clock::now();
  basic.RunScript(kZarneLoop);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return seconds;
}

/* Seconds Lua took, or a negative value when lua5.4 could not be run. */
double TimeLua(std::string* luaSum) {
  if (std::system("lua5.4 -v > /dev/null 2>&1") != 0) return -1;
  const std::string script = "script_bench_loop.lua", output = "script_bench_loop.out";
  std::ofstream(script) << kLuaLoop;
  int status = std::system(("lua5.4 " + script + " > " + output).c_str());
  std::ifstream in(output);
  double seconds = -1;
  if (status == 0) in >> seconds >> *luaSum;
  std::remove(script.c_str());
  std::remove(output.c_str());
  return seconds;
}

}  // namespace

int main() {
  RegisterScriptGlobals();
  std::string unused, luaSum;
  double best = 1e9;
  for (int round = 0; round < 3; ++round) best = std::min(best, TimeZarneBasic(&unused));
  const TVariableNode* sum = gScriptGlobals.Find("AcctAmount");
  std::printf("ZarneBasic: %.3f s for 1,000,000 iterations (sum %s)\n", best,
              sum->value.ToText().c_str());
  double luaBest = 1e9;
  for (int round = 0; round < 3; ++round) {
    double seconds = TimeLua(&luaSum);
    if (seconds < 0) {
      std::printf("Lua 5.4: lua5.4 is missing or failed to run; no comparison made\n");
      return 1;
    }
    luaBest = std::min(luaBest, seconds);
  }
  std::printf("Lua 5.4:    %.3f s for the same loop (sum %s)\n", luaBest, luaSum.c_str());
  std::printf("Ratio ZarneBasic / Lua: %.2f (goal: 3.00 or less)\n", best / luaBest);
  return 0;
}
