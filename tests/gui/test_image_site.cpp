// The image dialog and the site chooser, opened from the code generator's "^"
// buttons as the user does: pictures copied into a project made in a
// temporary folder, references and link targets handed back into the fields.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "code_generator_window.h"
#include "file_lists.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "image_dialog.h"
#include "main_shell.h"
#include "main_window.h"
#include "site_chooser.h"
#include "window_controls.h"

namespace {

const QString kWarning =
    QStringLiteral("Warning|You must open/create a project to use this function.");

void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// Clicks a file of a file list, as the user picks one.
bool Pick(TFileList* list, const QString& name) {
  const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
  if (items.size() != 1) return false;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(items.first()).center());
  return list->SelectedName() == name;
}

// Answers the next modal dialog with the steps given; a dialog they leave open
// (a failed check ends them early) is closed, so a failure never hangs the run.
void Answer(std::function<void()> steps) {
  AnswerNextModal([steps](QWidget* modal) {
    steps();
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (dialog && dialog->isVisible()) dialog->done(QDialog::Rejected);
  });
}

}  // namespace

class TestImageSite : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    gen = forms::Get<TForm5>(QStringLiteral("Form5"));
    image = forms::Get<TImageInsert>(QStringLiteral("ImageInsert"));
    site = forms::Get<TForm8>(QStringLiteral("Form8"));
    QVERIFY(gen && image && site);
    gen->show();
    project = env->TempDir() + "site";
    for (const char* sub : {"images", "private", "files"}) QDir().mkpath(project + "/" + sub);
    env->WriteFile(project + "/index.htm", "<html></html>");
    pictures = env->TempDir() + "Other Drive/pics";
    env->WriteFile(pictures + "/My Photo.png", "new picture");
    env->WriteFile(pictures + "/notes.txt", "not a picture");
  }
  void cleanup() {
    gen = nullptr;
    env.reset();
  }

  void bothNeedAProject() {
    Controls(gen).TabbedNotebook1->setCurrentIndex(1);
    Controls(gen).imagelink->setText(QStringLiteral("keep.png"));
    bool answered = false;
    Answer([&] {
      answered = QApplication::activeModalWidget() == image;
      QCOMPARE(env->Messages(), QStringList{kWarning});
      QVERIFY(!Controls(image).dxButton1->isEnabled());
      QVERIFY(Controls(image).dxButton2->isEnabled());
      // Browsing still works.
      Controls(image).Dir1->SetFolder(pictures);
      QVERIFY(Pick(Controls(image).File1, "My Photo.png"));
      Click(Controls(image).dxButton2);
    });
    Click(Controls(gen).dxButton5);
    QVERIFY(answered);
    QVERIFY(!image->isVisible());
    QCOMPARE(Controls(gen).imagelink->text(), QStringLiteral("keep.png"));
    QCOMPARE(Controls(image).Dir1->Folder(), QStringLiteral("/"));

    // The site chooser warns once per showing as well.
    env->Messages().clear();
    Answer([&] {
      QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(site));
      QCOMPARE(env->Messages(), QStringList{kWarning});
      QVERIFY(!Controls(site).dxButton2->isEnabled());
      Click(Controls(site).dxButton1);
    });
    Click(Controls(gen).dxButton20);
    QVERIFY(Controls(gen).linkurl->text().isEmpty());
  }

  void imageCopiedAndReferencedOnTheLinkPage() {
    MainShell().SetProjectDir(project);
    Controls(gen).TabbedNotebook1->setCurrentIndex(1);
    Controls(gen).linktext->setText(QStringLiteral("Home"));
    Answer([&] {
      QVERIFY(env->Messages().isEmpty());
      QVERIFY(Controls(image).dxButton1->isEnabled());
      QCOMPARE(Controls(image).Dir1->Folder(), project + "/images");
      QCOMPARE(Controls(image).File1->Folder(), project + "/images");
      Controls(image).Dir1->SetFolder(pictures);
      // Pictures only.
      QCOMPARE(Controls(image).File1->FileNames(), QStringList{"My Photo.png"});
      QVERIFY(Pick(Controls(image).File1, "My Photo.png"));
      QCOMPARE(Controls(image).Edit1->text(), pictures + "/My Photo.png");
      QCOMPARE(Controls(image).Edit2->text(), project + "/images/My Photo.png");
      QCOMPARE(Controls(image).Edit3->text(), QStringLiteral("images/My Photo.png"));
      Click(Controls(image).dxButton1);
    });
    Click(Controls(gen).dxButton5);
    QVERIFY(!image->isVisible());
    QCOMPARE(TestEnvironment::ReadFile(project + "/images/My Photo.png"),
             QByteArray("new picture"));
    QCOMPARE(Controls(gen).imagelink->text(), QStringLiteral("images/My Photo.png"));
    QVERIFY(Controls(gen).linkcode->text().contains(
        QStringLiteral(R"(<img src="images/My Photo.png">)")));
    // Pointed away, so the next showing reads the project's pictures afresh.
    QCOMPARE(Controls(image).Dir1->Folder(), QStringLiteral("/"));
  }

  void imageFieldFollowsThePage() {
    MainShell().SetProjectDir(project);
    const QString existing = project + "/images/My Photo.png";
    env->WriteFile(existing, "picture already in the site");
    const QList<QPair<int, QLineEdit*>> pages = {{0, Controls(gen).backimage1},
                                                 {3, Controls(gen).inimage}};
    for (const auto& [page, field] : pages) {
      Controls(gen).TabbedNotebook1->setCurrentIndex(page);
      Answer([&] {
        Controls(image).Dir1->SetFolder(pictures);
        QVERIFY(Pick(Controls(image).File1, "My Photo.png"));
        Click(Controls(image).dxButton1);
      });
      Click(page == 0 ? Controls(gen).dxButton3 : Controls(gen).dxButton7);
      QVERIFY(!image->isVisible());
      // The picture already in the site is neither replaced nor reported.
      QCOMPARE(TestEnvironment::ReadFile(existing), QByteArray("picture already in the site"));
      QVERIFY(env->Errors().isEmpty());
      QCOMPARE(field->text(), QStringLiteral("images/My Photo.png"));
    }
    // On a page without a picture field the picture is copied, no field set.
    env->WriteFile(pictures + "/other.gif", "gif");
    Controls(gen).TabbedNotebook1->setCurrentIndex(2);
    Answer([&] {
      Controls(image).Dir1->SetFolder(pictures);
      QVERIFY(Pick(Controls(image).File1, "other.gif"));
      Click(Controls(image).dxButton1);
    });
    Controls(gen).dxButton7->click();
    QCOMPARE(TestEnvironment::ReadFile(project + "/images/other.gif"), QByteArray("gif"));
    QCOMPARE(Controls(gen).backimage1->text(), QStringLiteral("images/My Photo.png"));
    QCOMPARE(Controls(gen).inimage->text(), QStringLiteral("images/My Photo.png"));
    QVERIFY(Controls(gen).imagelink->text().isEmpty());
  }

  void imageCopyThatFailsIsReported() {
    // A project whose "images" folder is gone: the copy cannot be made, so no
    // reference to a missing picture is handed back and the dialog stays.
    MainShell().SetProjectDir(project);
    QVERIFY(QDir(project + "/images").removeRecursively());
    Controls(gen).TabbedNotebook1->setCurrentIndex(3);
    bool stayedOpen = false;
    Answer([&] {
      Controls(image).Dir1->SetFolder(pictures);
      QVERIFY(Pick(Controls(image).File1, "My Photo.png"));
      Click(Controls(image).dxButton1);
      stayedOpen = image->isVisible();
      Click(Controls(image).dxButton2);
    });
    Click(Controls(gen).dxButton7);
    QVERIFY(stayedOpen);
    QCOMPARE(env->Errors(), QStringList{"Cannot create file " + project + "/images/My Photo.png"});
    QVERIFY(Controls(gen).inimage->text().isEmpty());
  }

  void siteChooserModes() {
    MainShell().SetProjectDir(project);
    env->WriteFile(project + "/files/Price List.pdf", "pdf");

    // "Site": a page of the project folder goes back as its bare name.
    Answer([&] {
      QCOMPARE(Controls(site).Label1->text(), QStringLiteral("Site"));
      QCOMPARE(Controls(site).FileListBox1->Folder(), project);
      QVERIFY(Controls(site).dxButton2->isEnabled());
      QVERIFY(Pick(Controls(site).FileListBox1, "index.htm"));
      QCOMPARE(Controls(site).Edit1->text(), project + "/index.htm");
      QCOMPARE(Controls(site).Edit2->text(), QStringLiteral("index.htm"));
      Click(Controls(site).dxButton2);
    });
    Click(Controls(gen).dxButton20);
    QCOMPARE(Controls(gen).linkurl->text(), QStringLiteral("index.htm"));
    QVERIFY(Controls(gen).linkcode->text().contains(QStringLiteral(R"(<a href="index.htm">)")));
    QCOMPARE(Controls(site).FileListBox1->Folder(), QStringLiteral("/"));

    // "Files": the "files" folder, names with the "files/" prefix.
    Answer([&] {
      Click(Controls(site).Button2);
      QCOMPARE(Controls(site).Label1->text(), QStringLiteral("Files"));
      QCOMPARE(Controls(site).FileListBox1->Folder(), project + "/files");
      QVERIFY(Pick(Controls(site).FileListBox1, "Price List.pdf"));
      QCOMPARE(Controls(site).Edit2->text(), QStringLiteral("files/Price List.pdf"));
      Click(Controls(site).dxButton1);
    });
    Click(Controls(gen).dxButton20);
    QCOMPARE(Controls(gen).linkurl->text(), QStringLiteral("index.htm"));

    // The mode survives the reset, and the list opens on the mode's folder,
    // so the prefix handed back names a file that is there.
    env->WriteFile(project + "/files/new.htm", "new");
    Answer([&] {
      QCOMPARE(Controls(site).Label1->text(), QStringLiteral("Files"));
      QCOMPARE(Controls(site).FileListBox1->Folder(), project + "/files");
      QVERIFY(Pick(Controls(site).FileListBox1, "new.htm"));
      QCOMPARE(Controls(site).Edit2->text(), QStringLiteral("files/new.htm"));
      Click(Controls(site).dxButton2);
    });
    Click(Controls(gen).dxButton20);
    QCOMPARE(Controls(gen).linkurl->text(), QStringLiteral("files/new.htm"));

    // The close box leaves the list where it was: no reset.
    Answer([&] {
      Click(Controls(site).Button1);
      QCOMPARE(Controls(site).Label1->text(), QStringLiteral("Site"));
      QCOMPARE(Controls(site).FileListBox1->Folder(), project);
      site->close();
    });
    Click(Controls(gen).dxButton20);
    QVERIFY(!site->isVisible());
    QCOMPARE(Controls(site).FileListBox1->Folder(), project);
    QCOMPARE(Controls(gen).linkurl->text(), QStringLiteral("files/new.htm"));
  }

 private:
  std::unique_ptr<TestEnvironment> env;
  TForm5* gen = nullptr;
  TImageInsert* image = nullptr;
  TForm8* site = nullptr;
  QString project;
  QString pictures;
};

VEXA_GUI_TEST_MAIN(TestImageSite)
#include "test_image_site.moc"
