// The highlight refresh: after every change, and whenever a syntax is chosen,
// the text goes through a new highlighter and comes back coloured, exactly as
// the whole document's conversion colours it; after a change only the lines
// whose colours may differ are scanned again.
#pragma once

class TMainForm;

namespace refresh {

// Recolours the document with the syntax in synlist and puts the caret back;
// markModified (a change report) sets the modified flag to "1" on the way.
void RefreshHighlight(TMainForm& form, bool markModified);

void Edit1Change(TMainForm& form);    // the change report: refresh, modified flag "1"
void SynlistChange(TMainForm& form);  // a syntax was chosen: refresh without the flag

}  // namespace refresh
