// Line ends of the editor's world: lines split at CR LF, a lone CR or a lone LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace textlines {

// The text with every line end (CR LF, lone CR, lone LF) written as CR LF.
std::string ToCrLf(std::string_view text);

// The lines of a text split at CR LF, lone CR and lone LF. Text after the last
// line end forms one more line when it is not empty.
std::vector<std::string> Split(std::string_view text);

}  // namespace textlines
