#include "scan_state.h"

namespace {

constexpr std::uint16_t kColorBits = static_cast<std::uint16_t>(~3u);

}  // namespace

bool ReadFrameWords(std::string_view rtf, std::uint16_t& keep, std::uint16_t& set) {
  std::size_t i = 0;
  while (i < rtf.size()) {
    if (rtf[i] != '\\' || i + 1 >= rtf.size()) return false;
    ++i;
    const std::size_t nameStart = i;
    while (i < rtf.size() && rtf[i] >= 'a' && rtf[i] <= 'z') ++i;
    const std::string_view name = rtf.substr(nameStart, i - nameStart);
    const std::size_t digitsStart = i;
    int param = 0;
    while (i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9' && param <= kMaxLookColor) {
      param = param * 10 + (rtf[i] - '0');
      ++i;
    }
    const bool hasParam = i > digitsStart;
    if (i >= rtf.size() || rtf[i] != ' ') return false;
    ++i;
    std::uint16_t bits = 0;
    std::uint16_t value = 0;
    if (name == "cf" && hasParam && param <= kMaxLookColor) {
      bits = kColorBits;
      value = static_cast<std::uint16_t>((param + 1) * 4);
    } else if (name == "b" && (!hasParam || param <= 1)) {
      bits = 2;
      value = (!hasParam || param != 0) ? 2 : 0;
    } else if (name == "i" && (!hasParam || param <= 1)) {
      bits = 1;
      value = (!hasParam || param != 0) ? 1 : 0;
    } else {
      return false;
    }
    keep = static_cast<std::uint16_t>(keep & ~bits);
    set = static_cast<std::uint16_t>((set & ~bits) | value);
  }
  return true;
}

bool ReadFrameEffect(const TFragmentFrame& frame, TFrameEffect& effect) {
  effect = TFrameEffect{};
  return ReadFrameWords(frame.HeadText(), effect.HeadKeep, effect.HeadSet) &&
         ReadFrameWords(frame.TailText(), effect.TailKeep, effect.TailSet);
}
