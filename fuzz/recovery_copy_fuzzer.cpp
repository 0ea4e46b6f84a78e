// Any bytes through the recovery-copy reader: it must never read outside the
// input, and whatever it accepts must come back the same when written again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "recovery_copy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto copy = ParseRecoveryCopy(bytes);
  if (!copy) return 0;
  const auto again = ParseRecoveryCopy(FormatRecoveryCopy(*copy));
  if (!again || again->FileName != copy->FileName || again->Syntax != copy->Syntax ||
      again->SavedAt != copy->SavedAt || again->DiskState != copy->DiskState ||
      again->Text != copy->Text) {
    std::fprintf(stderr, "recovery copy: a copy read did not survive being written again\n");
    std::abort();
  }
  return 0;
}
