// pvtool's commands on event recordings: info, check, dump and seal, and the exit statuses
// of every command. Each returns the program's exit status.
#pragma once

namespace pv::cli {

constexpr int kExitOk = 0, kExitDamaged = 1, kExitUsage = 2, kExitFile = 3;

int Info(const char *path);
int Check(const char *path);
int Dump(const char *path);
int Seal(const char *in, const char *out);

} // namespace pv::cli
