#include "main_shell.h"

#include <cassert>

namespace {
TMainShell* gShell = nullptr;
}

void SetMainShell(TMainShell* shell) { gShell = shell; }

TMainShell& MainShell() {
  assert(gShell != nullptr);
  return *gShell;
}

bool HasMainShell() { return gShell != nullptr; }
