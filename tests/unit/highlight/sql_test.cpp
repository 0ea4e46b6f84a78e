// The SQL highlighter: keywords, comments, strings, numbers and symbols, and the
// italic and bold forms its comments and keywords are written in.
#include <cctype>

#include "highlight_test_support.h"
#include "sql_scanner.h"

using highlight_test::KindsAndTexts;
using highlight_test::RtfBody;

namespace {

std::string Sql(const std::string& text) { return KindsAndTexts("SQL", text); }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

const char* const kKeywords[] = {
    "ACTIVE",     "AFTER",       "ALL",       "ALTER",       "AND",      "ANY",
    "AS",         "ASC",         "ASCENDING", "AT",          "AUTO",     "BASE_NAME",
    "BEFORE",     "BEGIN",       "BETWEEN",   "BY",          "CACHE",    "CAST",
    "CHECK",      "COLUMN",      "COMMIT",    "COMMITTED",   "COMPUTED", "CONDITIONAL",
    "CONSTRAINT", "CONTAINING",  "COUNT",     "CREATE",      "CURRENT",  "CURSOR",
    "DATABASE",   "DEBUG",       "DECLARE",   "DEFAULT",     "DELETE",   "DESC",
    "DESCENDING", "DISTINCT",    "DO",        "DOMAIN",      "DROP",     "ELSE",
    "END",        "ENTRY_POINT", "ESCAPE",    "EXCEPTION",   "EXECUTE",  "EXISTS",
    "EXIT",       "EXTERNAL",    "EXTRACT",   "FILTER",      "FOR",      "FOREIGN",
    "FROM",       "FULL",        "FUNCTION",  "GENERATOR",   "GRANT",    "GROUP",
    "HAVING",     "IF",          "IN",        "INACTIVE",    "INDEX",    "INNER",
    "INSERT",     "INTO",        "IS",        "ISOLATION",   "JOIN",     "KEY",
    "LEFT",       "LEVEL",       "LIKE",      "MERGE",       "NAMES",    "NO",
    "NOT",        "NULL",        "OF",        "ON",          "ONLY",     "OR",
    "ORDER",      "OUTER",       "PARAMETER", "PASSWORD",    "PLAN",     "POSITION",
    "PRIMARY",    "PRIVILEGES",  "PROCEDURE", "PROTECTED",   "READ",     "RETAIN",
    "RETURNS",    "REVOKE",      "RIGHT",     "ROLLBACK",    "SCHEMA",   "SELECT",
    "SET",        "SHADOW",      "SHARED",    "SNAPSHOT",    "SOME",     "SUSPEND",
    "TABLE",      "THEN",        "TO",        "TRANSACTION", "TRIGGER",  "UNCOMMITTED",
    "UNION",      "UNIQUE",      "UPDATE",    "USER",        "USING",    "VIEW",
    "WAIT",       "WHEN",        "WHERE",     "WHILE",       "WITH",     "WORK",
};

}  // namespace

TEST(SqlScanner, EveryListedKeywordInAnyCase) {
  for (const char* word : kKeywords) {
    EXPECT_EQ(Sql(word), std::string("Key ") + word + "\n");
    EXPECT_EQ(Sql(Lower(word)), "Key " + Lower(word) + "\n");
  }
  EXPECT_EQ(Sql("Select"), "Key Select\n");
  EXPECT_EQ(RtfBody("SQL", "select"), "\\cf3 \\b select\\b0 ");
  EXPECT_EQ(Sql("base_name Entry_Point"), "Key base_name\nSymbol  \nKey Entry_Point\n");
}

TEST(SqlScanner, WordsOutsideTheListAreIdentifiers) {
  // Longer than the keyword, data types and functions, same hash as "AT" with
  // other letters or another length, a hash beyond the table.
  EXPECT_EQ(Sql("selected INTEGER varchar SUM max"),
            "Identifier selected\nSymbol  \nIdentifier INTEGER\nSymbol  \n"
            "Identifier varchar\nSymbol  \nIdentifier SUM\nSymbol  \nIdentifier max\n");
  EXPECT_EQ(Sql("TA AAS zzzzzzz"),
            "Identifier TA\nSymbol  \nIdentifier AAS\nSymbol  \nIdentifier zzzzzzz\n");
  EXPECT_EQ(RtfBody("SQL", "t1"), "\\cf2 t1");
  // Digits and "_" count alike and hash to nothing, so they stand for each other.
  EXPECT_EQ(Sql("BASE0NAME _select select_ sel_ect"),
            "Key BASE0NAME\nSymbol  \nIdentifier _select\nSymbol  \n"
            "Identifier select_\nSymbol  \nIdentifier sel_ect\n");
}

TEST(SqlScanner, LineCommentsAreItalic) {
  EXPECT_EQ(RtfBody("SQL", "-- note"), "\\cf1 \\i -- note\\i0 ");
  EXPECT_EQ(Sql("a--b\r\n#c /* d\r\n//e\r\n- -"),
            "Identifier a\nComment --b\nSymbol \\r\\n\nComment #c /* d\nSymbol \\r\\n\n"
            "Comment //e\nSymbol \\r\\n\nSymbol -\nSymbol  \nSymbol -\n");
  // Escaping happens before the italic form is built.
  EXPECT_EQ(RtfBody("SQL", "# {x}\\"), "\\cf1 \\i # \\{x\\}\\\\\\i0 ");
}

TEST(SqlScanner, BlockCommentsSpanLines) {
  EXPECT_EQ(Sql("/* one\r\ntwo\r\nthree */x"),
            "Comment /* one\nSymbol \\r\\n\nComment two\nSymbol \\r\\n\n"
            "Comment three */\nIdentifier x\n");
  EXPECT_EQ(RtfBody("SQL", "/* a\r\nb */"),
            "\\cf1 \\i /* a\\i0 \\par \\cf5 \r\n\\cf1 \\i b */\\i0 ");
  // The search for "*/" starts at the opening star.
  EXPECT_EQ(Sql("/*/x"), "Comment /*/\nIdentifier x\n");
  EXPECT_EQ(Sql("/**/x"), "Comment /**/\nIdentifier x\n");
  // A continuation line looks for the closer from its first byte.
  EXPECT_EQ(Sql("/*\r\n*/x"), "Comment /*\nSymbol \\r\\n\nComment */\nIdentifier x\n");
  EXPECT_EQ(Sql("/*\r\n\r\n/x"), "Comment /*\nSymbol \\r\\n\nSymbol \\r\\n\nComment /x\n");
  // Never closed: the rest of the text stays comment.
  EXPECT_EQ(Sql("/* a\r\nselect"), "Comment /* a\nSymbol \\r\\n\nComment select\n");
  EXPECT_EQ(Sql("/"), "Symbol /\n");
  EXPECT_EQ(Sql("/="), "Symbol /\nSymbol =\n");
}

TEST(SqlScanner, Strings) {
  EXPECT_EQ(RtfBody("SQL", "'abc'"), "\\cf6 'abc'");
  // No escape in single quotes: a doubled quote closes and reopens.
  EXPECT_EQ(Sql("'it''s'"), "String 'it'\nString 's'\n");
  // An unterminated string ends in front of the line end.
  EXPECT_EQ(Sql("'abc\r\nselect"), "String 'abc\nSymbol \\r\\n\nKey select\n");
  EXPECT_EQ(Sql("\"abc\nx"), "String \"abc\nSymbol \\n\nIdentifier x\n");
  // A backslash keeps the double quote after it inside, also after another backslash.
  EXPECT_EQ(Sql("\"a\\\"b\" c"), "String \"a\\\\\"b\"\nSymbol  \nIdentifier c\n");
  EXPECT_EQ(Sql("\"a\\\\\" c"), "String \"a\\\\\\\\\" c\n");
  EXPECT_EQ(Sql("\"\\\""), "String \"\\\\\"\n");
  // Three quotes: the third opens the string.
  EXPECT_EQ(Sql("\"\"\"a\" b"), "String \"\"\"a\"\nSymbol  \nIdentifier b\n");
  EXPECT_EQ(Sql("\"\"\""), "String \"\"\"\n");
  EXPECT_EQ(Sql("\"\"x"), "String \"\"\nIdentifier x\n");
  EXPECT_EQ(Sql("\"\"\"\"x"), "String \"\"\"\"\nIdentifier x\n");
}

TEST(SqlScanner, Numbers) {
  EXPECT_EQ(Sql("1.5"), "Symbol 1\nNumber .5\n");
  EXPECT_EQ(RtfBody("SQL", "1.5"), "\\cf5 1\\cf4 .5");
  EXPECT_EQ(Sql("42 .5 10x1F 12-e4 12-E4"),
            "Number 42\nSymbol  \nNumber .5\nSymbol  \nNumber 10x1F\nSymbol  \n"
            "Number 12-e4\nSymbol  \nNumber 12-E4\n");
  EXPECT_EQ(Sql("3.14 0x1F 1e5 5 ."),
            "Symbol 3\nNumber .14\nSymbol  \nSymbol 0\nIdentifier x1F\nSymbol  \n"
            "Symbol 1\nIdentifier e5\nSymbol  \nSymbol 5\nSymbol  \nSymbol .\n");
  // A minus without "e" after it and a second dot end the number.
  EXPECT_EQ(Sql("12-3"), "Number 12\nSymbol -\nSymbol 3\n");
  EXPECT_EQ(Sql("12..3"), "Number 12\nSymbol .\nNumber .3\n");
  EXPECT_EQ(Sql("12.3.4"), "Number 12.3.4\n");
  EXPECT_EQ(Sql("12-"), "Number 12\nSymbol -\n");
  EXPECT_EQ(Sql("12."), "Number 12.\n");
}

TEST(SqlScanner, SymbolsAndBlanks) {
  // Two-byte operators are two tokens.
  EXPECT_EQ(Sql("<=<>!=||"),
            "Symbol <\nSymbol =\nSymbol <\nSymbol >\nSymbol !\nSymbol =\nSymbol |\nSymbol |\n");
  EXPECT_EQ(Sql(" \t\x01\x1f x"), "Symbol  \\t\\x01\\x1F \nIdentifier x\n");
  EXPECT_EQ(Sql("\r\r\n\n"), "Symbol \\r\nSymbol \\r\\n\nSymbol \\n\n");
  // The bytes without a kind of their own are symbols, also first in the text
  // and right after a comment or a keyword.
  EXPECT_EQ(RtfBody("SQL", "$"), "\\cf5 $");
  EXPECT_EQ(Sql("!$%@`{}~\x7f\x80\xff"),
            "Symbol !\nSymbol $\nSymbol %\nSymbol @\nSymbol `\nSymbol {\nSymbol }\n"
            "Symbol ~\nSymbol \\x7F\nSymbol \\x80\nSymbol \\xFF\n");
  EXPECT_EQ(RtfBody("SQL", "/**/@select~"),
            "\\cf1 \\i /**/\\i0 \\cf5 @\\cf3 \\b select\\b0 \\cf5 ~");
  EXPECT_EQ(RtfBody("SQL", "{\xe9}"), "\\cf5 \\{\\cf5 \xe9\\cf5 \\}");
}

TEST(SqlScanner, WholeDocument) {
  // Navy comments, blue strings, everything else black; index 7 is unused.
  const std::string colours =
      "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green0\\blue0;"
      "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;"
      "\\red0\\green0\\blue255;\\red0\\green0\\blue0;}\r\n";
  const std::string head =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier "
      "New;}}\r\n" +
      colours + "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";
  EXPECT_EQ(highlight_test::Rtf("SQL", ""), head + "\\par }");
  EXPECT_EQ(highlight_test::Rtf("SQL", "x\r\n'y'"),
            head + "\\cf2 x\\par \\cf5 \r\n\\cf6 'y'\\par }");
  // The text ends at its first NUL.
  EXPECT_EQ(highlight_test::Rtf("SQL", std::string("x\0'y'", 5)), head + "\\cf2 x\\par }");
}

TEST(SqlScanner, RangeStateFollowsTheComment) {
  TqorSQLRTF sql;
  sql.SetText("/* a\r\nb */ c");
  EXPECT_EQ(sql.GetRange(), TqorSQLRTF::TRangeState::Comment);
  for (int i = 0; i < 2; ++i) sql.Next();
  EXPECT_EQ(sql.GetToken(), "b */");
  EXPECT_EQ(sql.GetRange(), TqorSQLRTF::TRangeState::Normal);
  sql.Next();
  sql.Next();
  EXPECT_EQ(sql.GetTokenId(), TqorSQLRTF::TTokenKind::Identifier);
  sql.Next();
  EXPECT_TRUE(sql.GetEol());
  EXPECT_EQ(sql.GetToken(), "");
  EXPECT_EQ(sql.GetTokenKind(), 8);
}
