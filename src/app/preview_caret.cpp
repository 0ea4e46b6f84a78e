#include "preview_caret.h"

#include <QFile>
#include <QJsonDocument>
#include <QPointer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "editor_control.h"
#include "error_guard.h"
#include "ini_file.h"
#include "main_shell.h"
#include "web_browser.h"

namespace previewcaret {
namespace {

constexpr char kSection[] = "Vexa Preview Caret";
constexpr char kOutlineKey[] = "Outline";

// The web channel's own client script, which Qt WebChannel ships as a resource.
QString ChannelScript() {
  QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

void AddScript(QWebEnginePage* page, const QString& name, const QString& source) {
  QWebEngineScript script;
  script.setName(name);
  script.setSourceCode(source);
  script.setWorldId(kScriptWorld);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setRunsOnSubFrames(false);
  page->scripts().insert(script);
}

}  // namespace

bool ReadOutlineSwitch(const IniFile& ini) {
  return ini.ReadString(kSection, kOutlineKey, "1") == "1";
}

void WriteOutlineSwitch(IniFile& ini, bool on) {
  ini.WriteString(kSection, kOutlineKey, on ? "1" : "0");
}

QJsonArray PathToJson(const pagetree::TPath& path) {
  QJsonArray json;
  for (const pagetree::TPathStep& step : path) {
    json.append(QJsonArray{step.Index, QString::fromStdString(step.Name)});
  }
  return json;
}

pagetree::TPath PathFromJson(const QJsonArray& json) {
  pagetree::TPath path;
  for (const QJsonValue& value : json) {
    const QJsonArray step = value.toArray();
    if (step.size() != 2 || !step.at(0).isDouble() || !step.at(1).isString()) return {};
    path.push_back({step.at(0).toInt(), step.at(1).toString().toStdString()});
  }
  return path;
}

}  // namespace previewcaret

TPreviewCaret::TPreviewCaret(TWebBrowser* browser) : QObject(browser), Browser_(browser) {
  QWebEnginePage* page = Browser_->page();
  previewcaret::AddScript(page, QStringLiteral("vexa-web-channel"), previewcaret::ChannelScript());
  previewcaret::AddScript(page, QStringLiteral("vexa-caret-outline"),
                          previewcaret::OutlineScript());
  Bridge_ = new TPreviewCaretBridge(this);
  Channel_ = new QWebChannel(this);
  Channel_->registerObject(QStringLiteral("vexaPreview"), Bridge_);
  page->setWebChannel(Channel_, previewcaret::kScriptWorld);
  connect(Bridge_, &TPreviewCaretBridge::Clicked, this,
          Guard([this](const QJsonArray& path) { Clicked(path); }));
  connect(Browser_, &QWebEngineView::loadFinished, this, [this](bool ok) { LoadFinished(ok); });
  Pause_.setSingleShot(true);
  connect(&Pause_, &QTimer::timeout, this, &TPreviewCaret::UpdateNow);
}

TPreviewCaret::~TPreviewCaret() = default;

void TPreviewCaret::WillShow(const QString& path, bool scratch) {
  const QUrl url = scratch ? web::LocalFileUrl(path) : QUrl();
  // Another document's copy: its first outline may scroll the page.
  if (url != Scratch_) Outlined_.clear();
  Scratch_ = url;
}

bool TPreviewCaret::ShowsScratch() const {
  return !Scratch_.isEmpty() && Browser_->url() == Scratch_;
}

void TPreviewCaret::Follow(bool textChanged) {
  if (textChanged) Tree_.reset();
  if (!Outline_ || !Browser_->isVisible() || !ShowsScratch()) return;
  if (textChanged) {
    Pause_.start(previewcaret::kChangePauseMs);
  } else if (!Pause_.isActive()) {
    Pause_.start(previewcaret::kCaretPauseMs);
  }
}

void TPreviewCaret::SetOutline(bool on) {
  Outline_ = on;
  UpdateNow();
}

void TPreviewCaret::RunInPage(const QString& script,
                              const std::function<void(const QVariant&)>& done) {
  if (done) {
    Browser_->page()->runJavaScript(script, previewcaret::kScriptWorld, done);
  } else {
    Browser_->page()->runJavaScript(script, previewcaret::kScriptWorld);
  }
}

const pagetree::TPageTree& TPreviewCaret::Tree() {
  TEditorControl* editor = MainShell().Editor();
  // A text of another length is another text, whatever was reported.
  if (!Tree_ || TreeLength_ != editor->Length()) {
    TreeLength_ = editor->Length();
    Tree_ = std::make_unique<pagetree::TPageTree>(
        std::string_view(editor->CharacterPointer(), static_cast<std::size_t>(editor->Length())));
  }
  return *Tree_;
}

void TPreviewCaret::UpdateNow() {
  Pause_.stop();
  if (!ShowsScratch()) return;
  if (!Outline_ || !HasMainShell()) {
    RunInPage(QStringLiteral("window.vexaCaret && vexaCaret.clear()"));
    emit Described(QString());
    return;
  }
  const pagetree::TPageTree& tree = Tree();
  const pagetree::TPath path = tree.PathOf(tree.ElementAt(MainShell().Editor()->CaretPosition()));
  const QString json = QString::fromUtf8(
      QJsonDocument(previewcaret::PathToJson(path)).toJson(QJsonDocument::Compact));
  // The page scrolls to an element the caret moved to; the same element
  // outlined again after an update leaves the page where the reader has it.
  const bool moved = json != Outlined_;
  Outlined_ = json;
  const QPointer<TPreviewCaret> self(this);
  RunInPage(QStringLiteral("window.vexaCaret ? vexaCaret.outline(%1, %2) : ''")
                .arg(json, moved ? QStringLiteral("true") : QStringLiteral("false")),
            [self](const QVariant& described) {
              if (self) emit self->Described(described.toString());
            });
}

void TPreviewCaret::LoadFinished(bool ok) {
  const bool scratch = ok && ShowsScratch();
  emit ScratchShown(scratch);
  if (!scratch) emit Described(QString());
  RunInPage(QStringLiteral("window.vexaCaret && vexaCaret.arm(%1)")
                .arg(scratch ? QStringLiteral("true") : QStringLiteral("false")));
  if (scratch && Browser_->isVisible()) UpdateNow();
}

void TPreviewCaret::Clicked(const QJsonArray& json) {
  if (!ShowsScratch() || !HasMainShell()) return;
  const pagetree::TPath path = previewcaret::PathFromJson(json);
  const pagetree::TPageTree& tree = Tree();
  const pagetree::TResolved found = tree.Resolve(path);
  // The root alone is no match for an element below it.
  if (found.Element < 0 || (found.Depth < 2 && path.size() > 1)) {
    emit Described(tr("No start tag in the code matches this element"));
    return;
  }
  MainShell().ShowSourceAt(tree.StartOf(found.Element));
}
