#include "emmet_engine.h"

#include <QFileInfo>
#include <QJSEngine>

namespace {

// Emmet writes each place to fill in through the field function, which marks
// it, empty ones apart; the marks come out before the text goes into the
// document.
constexpr char16_t kEmptyField = u'\x01';
constexpr char16_t kFilledField = u'\x02';

}  // namespace

TEmmet::TEmmet(QString moduleFile) : ModuleFile_(std::move(moduleFile)) {}

TEmmet::~TEmmet() = default;

bool TEmmet::Load(QString* error) {
  if (Engine_) return true;
  if (!QFileInfo::exists(ModuleFile_)) {
    *error = QStringLiteral("Emmet is missing: %1").arg(ModuleFile_);
    return false;
  }
  auto engine = std::make_unique<QJSEngine>();
  const QJSValue module = engine->importModule(ModuleFile_);
  if (module.isError() || engine->hasError()) {
    const QJSValue thrown = engine->hasError() ? engine->catchError() : module;
    *error = QStringLiteral("Emmet cannot be loaded: %1").arg(thrown.toString());
    return false;
  }
  Expand_ = module.property(QStringLiteral("default"));
  Extract_ = module.property(QStringLiteral("extract"));
  Field_ =
      engine->evaluate(QStringLiteral("(function (index, placeholder) { return (placeholder ? "
                                      "'\\x02' : '\\x01') + placeholder; })"));
  if (!Expand_.isCallable() || !Extract_.isCallable() || !Field_.isCallable()) {
    *error =
        QStringLiteral("Emmet cannot be loaded: %1 exports no expand and extract").arg(ModuleFile_);
    return false;
  }
  Engine_ = std::move(engine);
  return true;
}

TEmmet::TResult TEmmet::Expand(const TRequest& request) {
  TResult result;
  if (!Load(&result.Error)) return result;
  QJSEngine& js = *Engine_;
  const QString type = request.Stylesheet ? QStringLiteral("stylesheet") : QStringLiteral("markup");

  QJSValue extractOptions = js.newObject();
  extractOptions.setProperty(QStringLiteral("type"), type);
  const QJSValue found =
      Extract_.call({request.Line, static_cast<int>(request.Line.size()), extractOptions});
  if (found.isError() || js.hasError() || !found.isObject()) {
    if (js.hasError()) js.catchError();
    result.Error = QStringLiteral("No abbreviation before the caret");
    return result;
  }
  const QString abbreviation = found.property(QStringLiteral("abbreviation")).toString();
  result.Start = found.property(QStringLiteral("location")).toInt();

  QJSValue options = js.newObject();
  options.setProperty(QStringLiteral("output.indent"), request.Indent);
  options.setProperty(QStringLiteral("output.baseIndent"), request.BaseIndent);
  options.setProperty(QStringLiteral("output.newline"), QStringLiteral("\n"));
  options.setProperty(QStringLiteral("output.field"), Field_);
  QJSValue variables = js.newObject();
  variables.setProperty(QStringLiteral("charset"), request.Charset);
  QJSValue config = js.newObject();
  config.setProperty(QStringLiteral("type"), type);
  config.setProperty(QStringLiteral("syntax"), request.Stylesheet ? QStringLiteral("css")
                                               : request.Xml      ? QStringLiteral("xml")
                                                                  : QStringLiteral("html"));
  config.setProperty(QStringLiteral("options"), options);
  config.setProperty(QStringLiteral("variables"), variables);
  const QJSValue expanded = Expand_.call({abbreviation, config});
  if (expanded.isError() || js.hasError()) {
    const QJSValue thrown = js.hasError() ? js.catchError() : expanded;
    result.Error = QStringLiteral("\"%1\" is not an abbreviation: %2")
                       .arg(abbreviation, thrown.property(QStringLiteral("message")).toString());
    return result;
  }
  QString text = expanded.toString();
  if (text.isEmpty()) {
    result.Error = QStringLiteral("\"%1\" expands to nothing").arg(abbreviation);
    return result;
  }
  // The caret goes to the first empty place, else to the first place with a
  // placeholder, else after the expansion.
  int caret = static_cast<int>(text.size());
  for (const char16_t mark : {kEmptyField, kFilledField}) {
    const qsizetype at = text.indexOf(QChar(mark));
    if (at < 0) continue;
    caret = static_cast<int>(text.left(at).count(QChar(kEmptyField)) +
                             text.left(at).count(QChar(kFilledField)));
    caret = static_cast<int>(at) - caret;
    break;
  }
  text.remove(QChar(kEmptyField));
  text.remove(QChar(kFilledField));
  result.Ok = true;
  result.Text = text;
  result.Caret = caret;
  return result;
}
