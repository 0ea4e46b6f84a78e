#include "abbreviation_place.h"

TAbbreviationPlace AbbreviationPlaceAt(TMarkupReader& markup, std::size_t pos, THint hint,
                                       std::size_t limit) {
  if (markup.Flavour() == TMarkupFlavour::None) return TAbbreviationPlace::None;
  const TCaretContext context = ContextAt(markup, pos, hint, limit);
  switch (context.Region.Region) {
    case TRegion::Markup:
      return context.InTag ? TAbbreviationPlace::None : TAbbreviationPlace::Markup;
    case TRegion::Style:
      return TAbbreviationPlace::Stylesheet;
    default:
      return TAbbreviationPlace::None;
  }
}

bool AbbreviationMayEndAt(TTextReader& text, std::size_t pos) {
  if (pos == 0) return false;
  const char c = text.At(pos - 1);
  return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '>';
}
