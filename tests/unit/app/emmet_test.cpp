// Our expansions, through Qt's JavaScript engine, against Emmet's own under
// Node, for the same line and the same options: numbering, climbing, groups,
// implicit tags, snippets, XML and CSS, and the abbreviations Emmet refuses.
#include "emmet_engine.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct TCase {
  const char* Line;  // the line up to the caret
  const char* Type;  // "html", "xml" or "css"
  const char* BaseIndent;
};

const TCase kCases[] = {
    {"ul>li.item$*3", "html", ""},
    {"div#main>p{Hello}+a[href=#]", "html", ""},
    {"table>tr*2>td*3", "html", ""},
    {"!", "html", ""},
    {"html:5", "html", ""},
    {"div>p>span^h2", "html", ""},
    {"div>p>em^^footer", "html", ""},
    {"div>(header>ul>li*2>a)+footer>p", "html", ""},
    {"(dl>dt+dd)*2", "html", ""},
    {"ul>.item", "html", ""},
    {"table>.row>.cell", "html", ""},
    {"em>.x", "html", ""},
    {"select>option[value=$]{Option $}*3", "html", ""},
    {"h$$*3", "html", ""},
    {"li.item$@3*2", "html", ""},
    {"li.item$@-*3", "html", ""},
    {"a:link", "html", ""},
    {"input:email", "html", ""},
    {"img", "html", ""},
    {"form#f>input:text+button:s", "html", ""},
    {"    nav>ul>li*2", "html", "    "},
    {"<p>Hello</p> div.x>span", "html", ""},
    {"text before ul>li", "html", ""},
    {"item>sub*2", "xml", ""},
    {"br", "xml", ""},
    {"m10", "css", ""},
    {"p10-20", "css", ""},
    {"bd+", "css", ""},
    {"w100p", "css", ""},
    {"pos:a", "css", ""},
    {"c#f", "css", ""},
    {"d:f", "css", ""},
    // Refused by Emmet, with its reason.
    {"x>y>>z", "html", ""},
    {"a[b=\"c]", "html", ""},
    {"div[", "html", ""},
    {"", "html", ""},
};

// What Emmet itself gives under Node, one JSON object per case.
const char kNodeScript[] = R"(
import expand, { extract } from '%1';
import { readFileSync } from 'node:fs';
const cases = JSON.parse(readFileSync(process.argv[2], 'utf8'));
const out = cases.map(c => {
  const type = c.type === 'css' ? 'stylesheet' : 'markup';
  const found = extract(c.line, c.line.length, { type });
  if (!found) return { ok: false };
  try {
    const text = expand(found.abbreviation, {
      type, syntax: c.type,
      options: { 'output.indent': '  ', 'output.baseIndent': c.base,
                 'output.newline': '\n', 'output.field': (i, p) => p },
      variables: { charset: 'windows-1252' },
    });
    return { ok: text.length > 0, start: found.location, text };
  } catch (e) {
    return { ok: false };
  }
});
process.stdout.write(JSON.stringify(out));
)";

QJsonArray NodeResults(const QString& folder) {
  QJsonArray cases;
  for (const TCase& c : kCases) {
    cases.append(QJsonObject{{"line", QString::fromUtf8(c.Line)},
                             {"type", QString::fromUtf8(c.Type)},
                             {"base", QString::fromUtf8(c.BaseIndent)}});
  }
  QFile input(folder + "/cases.json");
  EXPECT_TRUE(input.open(QIODevice::WriteOnly));
  input.write(QJsonDocument(cases).toJson());
  input.close();
  QFile script(folder + "/expand.mjs");
  EXPECT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QString::fromUtf8(kNodeScript)
                   .arg(QStringLiteral("file://" VEXA_EMMET_DIR "/dist/emmet.es.js"))
                   .toUtf8());
  script.close();
  const QByteArray command = QByteArray(VEXA_NODE) + " '" + script.fileName().toUtf8() + "' '" +
                             input.fileName().toUtf8() + "'";
  FILE* pipe = popen(command.constData(), "r");
  EXPECT_NE(pipe, nullptr);
  QByteArray output;
  char buffer[4096];
  for (std::size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, static_cast<qsizetype>(n));
  }
  EXPECT_EQ(pipe != nullptr ? pclose(pipe) : -1, 0) << "node failed";
  return QJsonDocument::fromJson(output).array();
}

}  // namespace

TEST(Emmet, ExpandsAsEmmetItselfDoesUnderNode) {
  int argc = 1;
  char name[] = "emmet_test";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  QTemporaryDir folder;
  const QJsonArray expected = NodeResults(folder.path());
  ASSERT_EQ(expected.size(), static_cast<qsizetype>(std::size(kCases)));

  TEmmet emmet(QStringLiteral(VEXA_EMMET_DIR "/dist/emmet.es.js"));
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const TCase& c = kCases[i];
    const QJsonObject node = expected[static_cast<qsizetype>(i)].toObject();
    TEmmet::TRequest request;
    request.Line = QString::fromUtf8(c.Line);
    request.Stylesheet = std::string(c.Type) == "css";
    request.Xml = std::string(c.Type) == "xml";
    request.BaseIndent = QString::fromUtf8(c.BaseIndent);
    request.Charset = QStringLiteral("windows-1252");
    const TEmmet::TResult ours = emmet.Expand(request);
    ASSERT_EQ(ours.Ok, node["ok"].toBool()) << c.Line << ": " << ours.Error.toStdString();
    if (!ours.Ok) {
      EXPECT_FALSE(ours.Error.isEmpty()) << c.Line;
      continue;
    }
    EXPECT_EQ(ours.Text.toStdString(), node["text"].toString().toStdString()) << c.Line;
    EXPECT_EQ(ours.Start, node["start"].toInt()) << c.Line;
    EXPECT_LE(ours.Caret, ours.Text.size()) << c.Line;
  }
}

TEST(Emmet, PutsTheCaretAtTheFirstPlaceToFillIn) {
  int argc = 1;
  char name[] = "emmet_test";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  TEmmet emmet(QStringLiteral(VEXA_EMMET_DIR "/dist/emmet.es.js"));
  const struct {
    const char* Line;
    const char* BeforeCaret;
  } cases[] = {
      {"a", "<a href=\""},
      {"ul>li*2", "<ul>\n  <li>"},
      {"p{Hi}", "<p>Hi</p>"},  // nothing to fill in: the caret goes to the end
      {"!", "<body>\n  "},     // past the places with placeholders, into the body
  };
  for (const auto& c : cases) {
    TEmmet::TRequest request;
    request.Line = QString::fromUtf8(c.Line);
    const TEmmet::TResult result = emmet.Expand(request);
    ASSERT_TRUE(result.Ok) << c.Line;
    EXPECT_TRUE(result.Text.left(result.Caret).endsWith(QString::fromUtf8(c.BeforeCaret)))
        << c.Line << ": " << result.Text.left(result.Caret).toStdString();
  }
  // A missing bundle is said so, not crashed on.
  TEmmet missing(QStringLiteral("/nonexistent/emmet.es.js"));
  TEmmet::TRequest request;
  request.Line = QStringLiteral("p");
  const TEmmet::TResult result = missing.Expand(request);
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(result.Error.contains(QStringLiteral("missing")));
}
