#include "support/FakeCommands.h"

#include <sys/stat.h>

#include <cstdlib>
#include <sstream>

namespace qn::test {
namespace {

constexpr const char* kNmcli = R"SH(#!/bin/sh
PATH=/usr/bin:/bin
dir=$(dirname "$0")
echo "$*" >> "$dir/nmcli.calls"
call="$*"
name=
prev=
while [ $# -gt 0 ]; do
  case "$prev" in
    id) name=$1 ;;
    passwd-file)
      cp "$1" "$dir/secrets"
      echo "$1" > "$dir/secrets-path"
      stat -c %a "$1" > "$dir/secrets-mode" ;;
  esac
  prev=$1
  shift
done
case "$call" in
  *"connection show --active")
    cat "$dir/active" 2>/dev/null ;;
  *"connection show")
    cat "$dir/connections" 2>/dev/null ;;
  *"connection up id "*)
    if [ -e "$dir/fail-up" ]; then
      echo "Error: Connection activation failed: No carrier on the line." >&2
      exit 4
    fi
    echo "$name" >> "$dir/active"
    echo "Connection successfully activated" ;;
  *"connection down id "*)
    grep -vxF "$name" "$dir/active" > "$dir/active.new"
    mv "$dir/active.new" "$dir/active" ;;
  *)
    echo "Error: unexpected call." >&2
    exit 2 ;;
esac
)SH";

constexpr const char* kSystemctl = R"SH(#!/bin/sh
PATH=/usr/bin:/bin
dir=$(dirname "$0")
echo "$*" >> "$dir/systemctl.calls"
[ -e "$dir/exit-code" ] && exit "$(cat "$dir/exit-code")"
exit 0
)SH";

void WriteScript(const std::filesystem::path& file, const char* text) {
  WriteFile(file, text);
  chmod(file.c_str(), 0755);
}

}  // namespace

FakeCommands::FakeCommands() {
  WriteScript(dir_ / "nmcli", kNmcli);
  WriteScript(dir_ / "systemctl", kSystemctl);
  if (const char* path = std::getenv("PATH")) oldPath_ = path;
  // Nothing else on the PATH: no program started by name can reach the real ones.
  setenv("PATH", dir_.str().c_str(), 1);
}

FakeCommands::~FakeCommands() {
  setenv("PATH", oldPath_.c_str(), 1);
}

void FakeCommands::SetState(const std::string& name, const std::string& content) const {
  WriteFile(dir_ / name, content);
}

std::vector<std::string> FakeCommands::Calls(const std::string& program) const {
  std::istringstream in(ReadFile(dir_ / (program + ".calls")));
  std::vector<std::string> calls;
  for (std::string line; std::getline(in, line);) calls.push_back(line);
  return calls;
}

}  // namespace qn::test
