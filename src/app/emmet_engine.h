// Abbreviations expanded by Emmet: the library's own bundle, run in Qt's
// JavaScript engine, loaded once, at the first expansion.
#pragma once

#include <QJSValue>
#include <QString>
#include <memory>

class QJSEngine;

class TEmmet {
 public:
  // The bundle's file (an ES module that exports Emmet's expand and extract).
  explicit TEmmet(QString moduleFile);
  ~TEmmet();
  TEmmet(const TEmmet&) = delete;
  TEmmet& operator=(const TEmmet&) = delete;

  struct TRequest {
    QString Line;                           // the line's text up to the caret
    bool Stylesheet = false;                // CSS, else markup
    bool Xml = false;                       // markup written as XML
    QString Indent = QStringLiteral("  ");  // one step
    QString BaseIndent;  // the line's own indentation, for the lines after the first
    QString Charset = QStringLiteral("UTF-8");  // what a page skeleton declares
  };

  struct TResult {
    bool Ok = false;
    int Start = 0;  // where the abbreviation starts in the line
    QString Text;   // what replaces it, lines joined by "\n"
    int Caret = 0;  // where the caret goes in Text: the first place to fill in
    QString Error;  // why nothing was expanded
  };

  TResult Expand(const TRequest& request);

 private:
  bool Load(QString* error);

  QString ModuleFile_;
  std::unique_ptr<QJSEngine> Engine_;
  QJSValue Expand_;
  QJSValue Extract_;
  QJSValue Field_;
};
