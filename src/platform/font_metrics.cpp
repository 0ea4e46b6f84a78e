#include "font_metrics.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QList>

#include "code_page.h"

namespace fontmetrics {
namespace {

// Pitch (low bits) and family class (high four bits) as the font table reads them.
constexpr std::uint8_t kFixedPitch = 0x01;
constexpr std::uint8_t kVariablePitch = 0x02;
constexpr std::uint8_t kFamilyRoman = 0x10;
constexpr std::uint8_t kFamilySwiss = 0x20;
constexpr std::uint8_t kFamilyModern = 0x30;
constexpr std::uint8_t kFamilyScript = 0x40;
constexpr std::uint8_t kFamilyDecorative = 0x50;

std::uint8_t FamilyClass(const QFont& font, bool fixedPitch) {
  if (fixedPitch) return kFamilyModern;
  switch (font.styleHint()) {
    case QFont::Serif:
      return kFamilyRoman;
    case QFont::SansSerif:
      return kFamilySwiss;
    case QFont::TypeWriter:
    case QFont::Monospace:
      return kFamilyModern;
    case QFont::Cursive:
      return kFamilyScript;
    case QFont::Decorative:
    case QFont::Fantasy:
      return kFamilyDecorative;
    default:
      return 0;
  }
}

// The character-set numbers of the desktop's font metrics.
std::uint8_t CharSet(const QString& family) {
  const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
  if (systems.isEmpty() || systems.contains(QFontDatabase::Latin)) return 0;
  switch (systems.first()) {
    case QFontDatabase::Symbol:
      return 2;
    case QFontDatabase::Japanese:
      return 128;
    case QFontDatabase::Korean:
      return 129;
    case QFontDatabase::SimplifiedChinese:
      return 134;
    case QFontDatabase::TraditionalChinese:
      return 136;
    case QFontDatabase::Greek:
      return 161;
    case QFontDatabase::Vietnamese:
      return 163;
    case QFontDatabase::Hebrew:
      return 177;
    case QFontDatabase::Arabic:
      return 178;
    case QFontDatabase::Cyrillic:
      return 204;
    case QFontDatabase::Thai:
      return 222;
    default:
      return 1;
  }
}

}  // namespace

TFontDesc Describe(const QFont& font) {
  const QFontInfo info(font);
  TFontDesc desc;
  desc.Name = codepage::FromUnicode(info.family());
  const bool fixed = info.fixedPitch();
  desc.PitchAndFamily =
      static_cast<std::uint8_t>((fixed ? kFixedPitch : kVariablePitch) | FamilyClass(font, fixed));
  desc.CharSet = CharSet(info.family());
  return desc;
}

}  // namespace fontmetrics
