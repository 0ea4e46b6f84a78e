// The references of a page and what a site check asks of it: every href,
// src, srcset candidate, url(...) and @import in style attributes and style
// elements, background, poster and object data; images without alt text,
// whether the page has a title, and its base address. Style sheets of their
// own give their url(...) and @import references too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "page_markup.h"

namespace check {

struct TReference {
  std::size_t Offset = 0;  // where the reference starts in the page
  std::string Text;        // as written, character references decoded, blanks trimmed
};

struct TPageFacts {
  std::vector<TReference> References;
  std::vector<std::size_t> ImagesWithoutAlt;  // offsets of the <img> tags
  bool HasTitle = false;
  bool HasHead = false;
  bool HasHtml = false;
  std::size_t HeadOffset = 0;  // the <head> tag, where a missing title is reported
  bool HasBase = false;
  std::string Base;  // the first <base href>, decoded
  bool HasBlocks = false;
};

TPageFacts AnalysePage(std::string_view text, const TPageMarkup& markup);

// url(...) and @import "…" in a style sheet or style attribute whose text
// starts at `offset` in the page.
void FindCssReferences(std::string_view css, std::size_t offset, std::vector<TReference>& out);

// What a reference points at, as far as the site is concerned.
enum class TReferenceClass {
  Ignored,    // empty, a fragment of the page itself, javascript:, data:, a server block
  External,   // http:, https:, mailto:, ftp:, //host/… and other schemes: not fetched
  LocalPath,  // file:, a drive letter (c:\), a network share (\\server)
  Site,       // a file of the site: Path is relative to the page, or to the site's root
};

struct TTarget {
  TReferenceClass Class = TReferenceClass::Ignored;
  bool FromRoot = false;  // "/images/x.png": from the site's root
  std::string Path;       // percent-decoded, without query and fragment, "\" made "/"
};

TTarget ClassifyReference(std::string_view reference);

// &amp;, &lt;, &gt;, &quot;, &apos; and numeric character references in an
// attribute value (numeric ones as UTF-8).
std::string DecodeCharacterReferences(std::string_view value);

}  // namespace check
