// The manager's one-click fragments: the button that inserts each, its caption
// (a tool tip for the icon buttons) and the text it puts into the document.
#pragma once

namespace quickcode {

struct Fragment {
  const char* Button;
  const char* Caption;
  const char* Text;
};

// ToolButton1 .. ToolButton6, then Button1 .. Button10, in that order.
// "&nbsp", "&lt" and "&gt" go in without a semicolon, as they always have.
inline constexpr Fragment kFragments[16] = {
    {"ToolButton1", "Align left", "<div align=\"left\"></div>"},
    {"ToolButton2", "Centre", "<div align=\"center\"></div>"},
    {"ToolButton3", "Align right", "<div align=\"right\"></div>"},
    {"ToolButton4", "Bold", "<b></b>"},
    {"ToolButton5", "Italic", "<i></i>"},
    {"ToolButton6", "Underline", "<u></u>"},
    {"Button1", "<br>", "<br>"},
    {"Button2", "nbsp", "&nbsp"},
    {"Button3", "<\"", "&#8220;"},
    {"Button4", "\">", "&#8221;"},
    {"Button5", "Copyright", "&copy;"},
    {"Button6", "Reg Mark", "&reg;"},
    {"Button7", "TM", "&#8482;"},
    {"Button8", "''", "&#8222;"},
    {"Button9", "<", "&lt"},
    {"Button10", ">", "&gt"},
};

}  // namespace quickcode
