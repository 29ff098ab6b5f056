#pragma once
// Runs the built patchtool (its path comes from UPD_PATCHTOOL) through a POSIX
// shell, as a release engineer would: standard output is captured, standard
// error goes to a file in the test's folder.

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace upd::testing {

struct ToolResult {
  int status = -1;  // exit status; -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

// `arg` as one word for the shell, whatever it holds.
inline std::string ShellQuoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline ToolResult RunPatchtool(const std::vector<std::string>& args, const TempDir& dir) {
  std::string command = ShellQuoted(UPD_PATCHTOOL);
  for (const auto& arg : args) command += " " + ShellQuoted(arg);
  command += " 2>" + ShellQuoted(dir.File("stderr.txt"));
  ToolResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = dir.Read("stderr.txt");
  return result;
}

}  // namespace upd::testing
