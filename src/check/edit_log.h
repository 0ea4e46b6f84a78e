// Where the bytes of a text went after edits: the inserts and deletes since a
// check copied the text, so that what the check found is placed in the text
// as it stands now.
#pragma once

#include <cstddef>
#include <vector>

namespace check {

class TEditLog {
 public:
  void Inserted(std::size_t position, std::size_t length);
  void Deleted(std::size_t position, std::size_t length);
  void Clear() { Edits_.clear(); }
  std::size_t Size() const { return Edits_.size(); }

  // Where the byte at `offset` of the text as it was at the last Clear stands
  // now; a deleted byte stands where the deletion was.
  std::size_t Map(std::size_t offset) const;

 private:
  struct TEdit {
    std::size_t Position;
    std::size_t Length;
    bool Insert;
  };
  std::vector<TEdit> Edits_;
};

}  // namespace check
