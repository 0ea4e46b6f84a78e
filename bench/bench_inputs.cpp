#include "bench_inputs.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace bench_inputs {
namespace {

struct TSample {
  const char* Name;
  std::size_t Size;   // that of the real file, so figures stay comparable
  const char* Block;  // repeated with a running number in place of each '#'
};

const TSample kSamples[] = {
    {"big.html", 1048576,
     "<div class=\"section\" id=\"s#\">\r\n<h2>Section #</h2>\r\n<!-- part # -->\r\n"
     "<p>Text of paragraph # with <a href=\"page#.htm\">a link</a>, <b>bold</b> and "
     "&amp; entities.</p>\r\n<script type=\"text/javascript\">var n# = \"#\";</script>\r\n"
     "<table border=\"0\"><tr><td width=\"#\">cell</td></tr></table>\r\n</div>\r\n"},
    {"big.js", 1048576,
     "// Function # of the library\r\nfunction item#(list, count) {\r\n"
     "  var total = 0; /* running sum */\r\n  for (var i = 0; i < list.length; i++) {\r\n"
     "    if (list[i] != null && typeof list[i] == \"number\") total += list[i] * 1.5e2;\r\n"
     "  }\r\n  return { name: 'item#', total: total, pattern: /a#b/g };\r\n}\r\n\r\n"},
    {"big.php", 1048576,
     "<?php\r\n// Sample # of the SDK\r\nclass Item# extends Base {\r\n"
     "  private $count = #;\r\n  public function total($list) {\r\n"
     "    $sum = 0; /* running sum */\r\n    foreach ($list as $key => $value) {\r\n"
     "      $sum += $value * 0x1F; echo \"item $key: {$value}\\n\";\r\n    }\r\n"
     "    return $sum;\r\n  }\r\n}\r\n?>\r\n<p>Page # of the sample</p>\r\n"},
    {"big.pas", 1048576,
     "{ Example # of the compiler }\r\nprocedure Total#(const Items: array of Integer; "
     "var Count: Integer);\r\nvar\r\n  I, Sum: Integer;\r\nbegin\r\n  Sum := 0; // running\r\n"
     "  for I := Low(Items) to High(Items) do\r\n    if Items[I] <> # then\r\n"
     "      Sum := Sum + Items[I] * $1F;\r\n  Count := Sum; (* done *)\r\n"
     "  WriteLn('total #: ', Sum);\r\nend;\r\n\r\n"},
    {"big.xml", 1016601,
     "<?xml-stylesheet href=\"s#.css\"?>\r\n<!-- entry # -->\r\n<code id=\"c#\" "
     "type=\"country\">\r\n  <name lang=\"en\">Name #</name>\r\n"
     "  <value><![CDATA[# & more]]></value>\r\n  <empty/>\r\n</code>\r\n"},
    {"big.sql", 300000,
     "-- regression test #\r\nCREATE TABLE t# (id INTEGER PRIMARY KEY, name VARCHAR(20));\r\n"
     "INSERT INTO t# VALUES (#, 'name #');\r\nSELECT id, COUNT(*) FROM t# WHERE name LIKE "
     "'n%' AND id > # GROUP BY id ORDER BY 1; /* done */\r\n\r\n"},
};

}  // namespace

std::string Generate(const std::string& name) {
  for (const TSample& sample : kSamples) {
    if (name != sample.Name) continue;
    std::string text;
    for (int i = 0; text.size() < sample.Size; ++i) {
      for (const char* c = sample.Block; *c != '\0'; ++c) {
        if (*c == '#') {
          text += std::to_string(i);
        } else {
          text += *c;
        }
      }
    }
    text.resize(sample.Size);
    return text;
  }
  return std::string();
}

std::string Load(const std::string& name) {
  std::ifstream in(std::string(VEXA_BENCH_DATA_DIR) + "/" + name, std::ios::binary);
  if (in) return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  static bool noted = false;
  if (!noted) {
    noted = true;
    std::fprintf(stderr,
                 "no benchmark inputs under %s: using generated inputs of the same size; "
                 "figures are not comparable with those of the real files\n",
                 VEXA_BENCH_DATA_DIR);
  }
  return Generate(name);
}

std::string Repeated(const std::string& sample, std::size_t size) {
  std::string text;
  if (sample.empty()) return text;
  while (text.size() < size) text += sample;
  text.resize(size);
  const std::size_t lineEnd = text.rfind('\n');
  if (lineEnd != std::string::npos && lineEnd > size / 2) text.resize(lineEnd + 1);
  return text;
}

}  // namespace bench_inputs
