#include "page_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using pagetree::TPageTree;
using pagetree::TPath;

namespace {

// "html body:1 p:2": each step's name, and its index where it is not 0.
std::string PathText(const TPath& path) {
  std::string out;
  for (const auto& step : path) {
    if (!out.empty()) out += ' ';
    out += step.Name;
    if (step.Index != 0) out += ':' + std::to_string(step.Index);
  }
  return out;
}

TPath PathFromText(const std::string& text) {
  TPath path;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    const std::size_t colon = word.find(':');
    pagetree::TPathStep step;
    step.Name = word.substr(0, colon);
    step.Index = colon == std::string::npos ? 0 : std::stoi(word.substr(colon + 1));
    path.push_back(step);
  }
  return path;
}

// Pages and the document a browser builds from them.
struct TOutlineCase {
  const char* Page;
  const char* Outline;
};

const TOutlineCase kOutlines[] = {
    {"", "html(head,body)"},
    {"<p>a<p>b", "html(head,body(p,p))"},
    {"<ul><li>a<li>b</ul><dl><dt>a<dd>b<dt>c</dl>", "html(head,body(ul(li,li),dl(dt,dd,dt)))"},
    {"<p>x<div>y</div>z", "html(head,body(p,div))"},
    {"<h1>a<h2>b</h1>c", "html(head,body(h1,h2))"},
    // Quirks mode (no doctype) lets a table open inside a paragraph.
    {"<p><table>", "html(head,body(p(table)))"},
    {"<!DOCTYPE html><p><table><tr><td>x</table>", "html(head,body(p,table(tbody(tr(td)))))"},
    {"<table><tr><td>a<td>b<tr><td>c</table>", "html(head,body(table(tbody(tr(td,td),tr(td)))))"},
    {"<table><col><tr><td>1</table>", "html(head,body(table(colgroup(col),tbody(tr(td)))))"},
    {"<table><caption>x<tr><td>y</table>", "html(head,body(table(caption,tbody(tr(td)))))"},
    // What a table cannot hold goes in front of it.
    {"<table><div>x</div><tr><td>y</table>", "html(head,body(div,table(tbody(tr(td)))))"},
    {"<table><input type=hidden><input type=text></table>", "html(head,body(input,table(input)))"},
    // Formatting elements closed out of order are repaired.
    {"<b><p>x</b>y</p>", "html(head,body(b,p(b)))"},
    {"<p><b>x</p> <p>y", "html(head,body(p(b),b(p)))"},
    {"<b><i>x</b>y</i>z", "html(head,body(b(i),i))"},
    {"<a><a>", "html(head,body(a,a))"},
    {"<a href=1><div><a href=2>x</a></div></a>", "html(head,body(a,div(a,a)))"},
    // No more than three equal formatting elements are carried on.
    {"<p><b><b><b><b>x</p>y", "html(head,body(p(b(b(b(b)))),b(b(b))))"},
    {"<table><tr><td><b>x</td></tr></table>y", "html(head,body(table(tbody(tr(td(b))))))"},
    // Optional and stray end tags.
    {"<br></br><p></p></p>", "html(head,body(br,br,p,p))"},
    {"<form><form><input></form>", "html(head,body(form(input)))"},
    {"<p><button><p>x</button>", "html(head,body(p(button(p))))"},
    // The head takes what belongs there, also after its end.
    {"<head></head><script></script><p>", "html(head(script),body(p))"},
    {"<title>a</title>x", "html(head(title),body)"},
    {"<body><p>x</body><p>after", "html(head,body(p,p))"},
    {"</html><p>late", "html(head,body(p))"},
    // Raw text, comments, processing instructions and server blocks.
    {"<textarea><p>x</textarea><p>", "html(head,body(textarea,p))"},
    {"<script><!--<script></script>--></script><p>", "html(head(script),body(p))"},
    {"<xmp><b></xmp><i>", "html(head,body(xmp,i))"},
    {"<noscript><p>x</noscript><p>", "html(head(noscript),body(p))"},
    {"<!--c--><p>x<!-- y -- z --><b>", "html(head,body(p(b)))"},
    {"<p><!-->x<!--->y<!-- a --!><i>", "html(head,body(p(i)))"},
    // A processing instruction ends at the first ">", inside a PHP string too.
    {"<?php echo \"<b>\" ?><p>x", "html(head,body(p))"},
    {"<?php if ($a > 1) { ?><p>x<?php } ?>", "html(head,body(p))"},
    {"<% x = \"<i>\" %><p>", "html(head,body(i(p)))"},
    {"<p title=\"a>b\" data-x='<i>'>x<div cla", "html(head,body(p))"},
    // Lists of choices, ruby, plain text.
    {"<select><option>a<option>b<div>x</div></select>", "html(head,body(select(option,option)))"},
    {"<ruby>a<rt>b<rp>c</ruby>", "html(head,body(ruby(rt,rp)))"},
    {"<plaintext><p>x</p>", "html(head,body(plaintext))"},
    // SVG and MathML.
    {"<svg><circle/><p>x", "html(head,body(svg(circle),p))"},
    {"<svg><foreignObject><p>x</p></foreignObject><rect/></svg>",
     "html(head,body(svg(foreignobject(p),rect)))"},
    {"<math><mi><b>x</b></mi></math>", "html(head,body(math(mi(b))))"},
    // A template's content is no part of the document's element tree.
    {"<template><tr><td>x</template><p>", "html(head(template),body(p))"},
    {"<frameset><frame></frameset>", "html(head,frameset(frame))"},
};

TEST(PageTree, BuildsTheDocumentABrowserBuilds) {
  for (const TOutlineCase& c : kOutlines) {
    EXPECT_EQ(TPageTree(c.Page).Outline(), c.Outline) << c.Page;
  }
}

// The caret ("|" in the page) and the path of the element that holds it.
struct TCaretCase {
  const char* Page;
  const char* Path;
};

const TCaretCase kCarets[] = {
    {"<p>a<p>b|c", "html body:1 p:1"},
    {"<p>a<p|>b", "html body:1 p:1"},
    // At the "<" of a start tag: that tag's element; before an end tag: the
    // element's content, inside the end tag: the element it closes.
    {"<div>x|<p>y</p></div>", "html body:1 div p"},
    {"<div><p>y</p|></div>", "html body:1 div p"},
    {"<div><p>y</p></|div>", "html body:1 div"},
    {"<div>x<p>y|</p></div>", "html body:1 div p"},
    {"<div>x<p>y</p>|</div>", "html body:1 div"},
    {"<div><!-- a | b --></div>", "html body:1 div"},
    {"<p><?php echo '|x' ?></p>", "html body:1 p"},
    {"<script>var a = '<p>|';</script>", "html head script"},
    {"<textarea><b>|</b></textarea>", "html body:1 textarea"},
    {"<title>a|</title>", "html head title"},
    {"<table><tr><td>a|</table>", "html body:1 table tbody tr td"},
    {"<table><tr>|<td>a</table>", "html body:1 table tbody tr td"},
    {"<table><tr> | <td>a</table>", "html body:1 table tbody tr"},
    // Text a table cannot hold is shown in front of it, in its parent.
    {"<div><table>te|xt<tr><td>a</table></div>", "html body:1 div"},
    // The paragraph carried over: its text lies in the browser's new element.
    {"<p><b>x</p>y|", "html body:1 b:1"},
    {"<template><p>a|</template>", "html head template"},
    {"<ul><li>a<li>b|</ul>", "html body:1 ul li:1"},
    {"<p>x</p></body>a|fter", "html body:1"},
    // An end tag of the body closes nothing: what follows stays in the paragraph.
    {"<p>x</body>a|fter", "html body:1 p"},
    {"<svg><g><circle|/></g></svg>", "html body:1 svg g circle"},
    // The tokenizer's states: escaped script text, an end tag with
    // attributes, a character section in SVG, a quoted ">".
    {"<script><!--<script>'</script>|'</script>--></script>", "html head script"},
    {"<style>a{}</style x=\">\"><p>|", "html body:1 p"},
    {"<svg><g><![CDATA[<p>|]]></g></svg>", "html body:1 svg g"},
    {"<p title=\"a>b|\">x", "html body:1 p"},
    {"<table><tr><td>a</td></tr><div>|b</div></table>", "html body:1 div"},
    {"<!DOCTYPE h|tml><p>", ""},
    {"|<html><p>", "html"},
};

TEST(PageTree, FindsTheElementThatHoldsTheCaret) {
  for (const TCaretCase& c : kCarets) {
    std::string page = c.Page;
    const std::size_t caret = page.find('|');
    ASSERT_NE(caret, std::string::npos) << c.Page;
    page.erase(caret, 1);
    const TPageTree tree(page);
    EXPECT_EQ(PathText(tree.PathOf(tree.ElementAt(static_cast<int>(caret)))), c.Path) << c.Page;
  }
}

// Every element: the path found at its start tag leads back to the element,
// and resolving its path gives it again.
void ExpectRoundTrips(const std::string& page) {
  const TPageTree tree(page);
  int checked = 0;
  for (int e = 0; e < tree.ElementCount(); ++e) {
    const TPath path = tree.PathOf(e);
    if (path.empty()) continue;
    const pagetree::TResolved found = tree.Resolve(path);
    ASSERT_EQ(found.Depth, static_cast<int>(path.size())) << page.substr(0, 200) << " " << e;
    if (!tree.Written(e)) continue;
    ASSERT_EQ(tree.PathOf(tree.ElementAt(tree.StartOf(e))), tree.PathOf(found.Element))
        << page.substr(0, 200) << " element " << e << " " << tree.NameOf(e);
    ++checked;
  }
  if (!page.empty()) {
    EXPECT_GT(checked, 0);
  }
}

TEST(PageTree, PathsAndStartTagsLeadToEachOther) {
  for (const TOutlineCase& c : kOutlines) {
    SCOPED_TRACE(c.Page);
    ExpectRoundTrips(c.Page);
  }
  const char* bench = std::getenv("VEXA_BENCH_DATA");
  const fs::path big =
      (bench != nullptr ? fs::path(bench) : fs::path(VEXA_BENCH_DATA_DIR)) / "big.html";
  if (fs::is_regular_file(big)) {
    std::ifstream in(big, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    ExpectRoundTrips(bytes.str());
  }
}

TEST(PageTree, ElementsTheBrowserMadeStartWhereTheirMarkupDoes) {
  // An implied body starts at the text that implied it; a formatting element
  // carried into the next paragraph at the tag it was carried from.
  const std::string page = "<title>t</title>Hello<p><b>x</p><p>y";
  const TPageTree tree(page);
  const auto at = [&](const char* path) {
    const pagetree::TResolved r = tree.Resolve(PathFromText(path));
    EXPECT_EQ(r.Depth, static_cast<int>(PathFromText(path).size())) << path;
    return r.Element;
  };
  EXPECT_EQ(tree.StartOf(at("html body:1")), static_cast<int>(page.find("Hello")));
  EXPECT_FALSE(tree.Written(at("html body:1")));
  EXPECT_EQ(tree.StartOf(at("html body:1 p:1 b")), static_cast<int>(page.find("<b>")));
  EXPECT_FALSE(tree.Written(at("html body:1 p:1 b")));
  EXPECT_TRUE(tree.Written(at("html body:1 p b")));
  EXPECT_EQ(tree.StartOf(at("html")), 0);
}

TEST(PageTree, APathIsFollowedOnlyAsFarAsItsNamesMatch) {
  const TPageTree tree("<div><p>a</p><ul><li>x</ul></div>");
  const struct {
    const char* Path;
    const char* Found;
  } cases[] = {
      {"html body:1 div ul:1 li", "html body:1 div ul:1 li"},
      // A script added an element: the index points at another kind.
      {"html body:1 div ul:2 li", "html body:1 div"},
      {"html body:1 div p:1", "html body:1 div"},
      {"html body:1 div ul:1 li:3", "html body:1 div ul:1"},
      {"html body:1 div ul:1 li span", "html body:1 div ul:1 li"},
      {"html body:2", "html"},
      {"svg", ""},
      {"html:1", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    const pagetree::TResolved r = tree.Resolve(PathFromText(c.Path));
    EXPECT_EQ(PathText(tree.PathOf(r.Element)), c.Found) << c.Path;
    EXPECT_EQ(r.Depth, static_cast<int>(PathFromText(c.Found).size())) << c.Path;
  }
}

TEST(PageTree, OffsetsOutsideTheTextBelongToTheNearestElement) {
  const std::string page = "<p>x";
  const TPageTree tree(page);
  EXPECT_EQ(PathText(tree.PathOf(tree.ElementAt(static_cast<int>(page.size()) + 5))),
            "html body:1 p");
  EXPECT_EQ(tree.ElementAt(-1), -1);
  EXPECT_EQ(TPageTree("").PathOf(TPageTree("").ElementAt(0)), TPath());
}

}  // namespace
