#include "edit_log.h"

namespace check {

void TEditLog::Inserted(std::size_t position, std::size_t length) {
  if (length > 0) Edits_.push_back({position, length, true});
}

void TEditLog::Deleted(std::size_t position, std::size_t length) {
  if (length > 0) Edits_.push_back({position, length, false});
}

std::size_t TEditLog::Map(std::size_t offset) const {
  for (const TEdit& e : Edits_) {
    if (e.Insert) {
      // Text typed where a byte stands pushes it on.
      if (offset >= e.Position) offset += e.Length;
    } else if (offset >= e.Position + e.Length) {
      offset -= e.Length;
    } else if (offset > e.Position) {
      offset = e.Position;
    }
  }
  return offset;
}

}  // namespace check
