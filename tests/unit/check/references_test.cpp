#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page_markup.h"
#include "references.h"

namespace {

using check::TReferenceClass;

TEST(References, ClassesOfAddresses) {
  const struct {
    const char* Reference;
    TReferenceClass Class;
    const char* Path;
    bool FromRoot;
  } cases[] = {
      {"", TReferenceClass::Ignored, "", false},
      {"  ", TReferenceClass::Ignored, "", false},
      {"#top", TReferenceClass::Ignored, "", false},
      {"?page=2", TReferenceClass::Ignored, "", false},
      {"javascript:void(0)", TReferenceClass::Ignored, "", false},
      {"data:image/png;base64,AAAA", TReferenceClass::Ignored, "", false},
      {"<?php echo $u ?>", TReferenceClass::Ignored, "", false},
      {"pages/<%= id %>.htm", TReferenceClass::Ignored, "", false},
      {"http://example.org/a.png", TReferenceClass::External, "", false},
      {"HTTPS://example.org/", TReferenceClass::External, "", false},
      {"mailto:a@example.org", TReferenceClass::External, "", false},
      {"ftp://example.org/f", TReferenceClass::External, "", false},
      {"//cdn.example.org/x.js", TReferenceClass::External, "", false},
      {"file:///C:/site/x.htm", TReferenceClass::LocalPath, "", false},
      {"C:\\Pictures\\a.gif", TReferenceClass::LocalPath, "", false},
      {"c:/pictures/a.gif", TReferenceClass::LocalPath, "", false},
      {"\\\\server\\share\\a.gif", TReferenceClass::LocalPath, "", false},
      {"images/a.png", TReferenceClass::Site, "images/a.png", false},
      {" images/a.png ", TReferenceClass::Site, "images/a.png", false},
      {"images/my%20photo.png?size=2#x", TReferenceClass::Site, "images/my photo.png", false},
      {"caf%C3%A9.htm", TReferenceClass::Site, "caf\xc3\xa9.htm", false},
      {"100%.htm", TReferenceClass::Site, "100%.htm", false},
      {"a%2", TReferenceClass::Site, "a%2", false},
      {"/images/a.png", TReferenceClass::Site, "/images/a.png", true},
      {"images\\a.png", TReferenceClass::Site, "images/a.png", false},
      {"../up.htm#x", TReferenceClass::Site, "../up.htm", false},
      {"sub/", TReferenceClass::Site, "sub/", false},
  };
  for (const auto& c : cases) {
    const check::TTarget t = check::ClassifyReference(c.Reference);
    EXPECT_EQ(t.Class, c.Class) << c.Reference;
    if (c.Class == TReferenceClass::Site) {
      EXPECT_EQ(t.Path, c.Path) << c.Reference;
      EXPECT_EQ(t.FromRoot, c.FromRoot) << c.Reference;
    }
  }
}

TEST(References, EveryKindOfReferenceIsFoundWhereItStands) {
  const struct {
    const char* Page;
    std::vector<std::string> References;
  } cases[] = {
      {"<a href=\"a.htm\">", {"a.htm"}},
      {"<link rel=stylesheet href='s.css'>", {"s.css"}},
      {"<script src=\"j.js\"></script>", {"j.js"}},
      {"<img src=\"i.png\" srcset=\"i1.png 1x, i2.png 2x,i3.png\">",
       {"i.png", "i1.png", "i2.png", "i3.png"}},
      {"<frame src=f.htm><iframe src=\"g.htm\"></iframe>", {"f.htm", "g.htm"}},
      {"<body background=\"bg.gif\"><video poster=p.jpg src=v.mp4>", {"bg.gif", "p.jpg", "v.mp4"}},
      {"<object data=\"o.svg\"><embed src=e.swf><area href=m.htm>", {"o.svg", "e.swf", "m.htm"}},
      {"<div style=\"background: url('a.png'), URL( b.png );\">", {"a.png", "b.png"}},
      {"<style>/* url(c.png) */ @import \"i.css\"; @import url(j.css); p{background:url(d.png)}"
       "</style>",
       {"i.css", "j.css", "d.png"}},
      {"<a href=\"a&amp;b.htm\">", {"a&b.htm"}},
      {"<a name=x><base href=\"b/\"><p title=\"t.htm\" data=\"d.htm\">", {}},
      {"<p>url(x.png) href=\"y.htm\"</p><!-- <img src=z.png> -->", {}},
      {"<script>var s = '<img src=\"w.png\">';</script>", {}},
  };
  for (const auto& c : cases) {
    const std::string page = c.Page;
    const check::TPageFacts facts = check::AnalysePage(page, check::ScanMarkup(page, false));
    std::vector<std::string> found;
    for (const check::TReference& r : facts.References) {
      found.push_back(r.Text);
      // Each reference is placed on its first character.
      EXPECT_EQ(page.compare(r.Offset, 1, r.Text, 0, 1), 0) << page << " at " << r.Offset;
    }
    EXPECT_EQ(found, c.References) << page;
  }
}

TEST(References, FactsOfAPage) {
  const std::string page =
      "<html><HEAD><title>t</title><base href=\"sub/\"></head>"
      "<img src=a.png><img src=b.png alt=\"\"><IMG SRC=c.png></html>";
  const check::TPageFacts facts = check::AnalysePage(page, check::ScanMarkup(page, false));
  EXPECT_TRUE(facts.HasHtml);
  EXPECT_TRUE(facts.HasHead);
  EXPECT_EQ(facts.HeadOffset, page.find("<HEAD>"));
  EXPECT_TRUE(facts.HasTitle);
  EXPECT_TRUE(facts.HasBase);
  EXPECT_EQ(facts.Base, "sub/");
  EXPECT_EQ(facts.ImagesWithoutAlt,
            (std::vector<std::size_t>{page.find("<img src=a"), page.find("<IMG")}));
  const std::string bare = "<p>no head</p>";
  const check::TPageFacts none = check::AnalysePage(bare, check::ScanMarkup(bare, false));
  EXPECT_FALSE(none.HasTitle || none.HasHead || none.HasHtml || none.HasBase);
}

TEST(References, CharacterReferencesInValues) {
  const struct {
    const char* Value;
    const char* Decoded;
  } cases[] = {
      {"a&amp;b", "a&b"},
      {"&lt;&gt;&quot;&apos;", "<>\"'"},
      {"caf&#233;", "caf\xc3\xa9"},
      {"&#x41;&#X42;", "AB"},
      {"&nbsp;", "&nbsp;"},
      {"a & b", "a & b"},
      {"&#;&#x;&#12a;", "&#;&#x;&#12a;"},
      {"&#0;", "\xef\xbf\xbd"},
      {"&#x110000;", "\xef\xbf\xbd"},
      {"&amp", "&amp"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(check::DecodeCharacterReferences(c.Value), c.Decoded) << c.Value;
  }
}

}  // namespace
