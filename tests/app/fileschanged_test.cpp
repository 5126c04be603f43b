// Files changed elsewhere: a document's file written, replaced or deleted by
// another program while it is open, the check before a save, a file opened
// twice under other names, and a second start handing its file over.
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalServer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <future>

#include "app/qtuiservices.h"
#include "app/singleinstance.h"
#include "appfixture.h"
#include "document/editortext.h"
#include "document/hebdoc.h"
#include "framework/commandids.h"
#include "options/modaldriver.h"

namespace {

class FilesChangedTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        qtUi.SetApp(app.get());
        SetUiServices(&qtUi);
    }

    // The user comes back to the main window (the offscreen platform gives
    // it no activation of its own when a message box closes).
    void Activate() const {
        Frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    }
    CHebDoc* ActiveDoc() const { return qobject_cast<CHebDoc*>(Frame()->GetActiveDocument()); }

    // Another program saves the way editors do: a new file renamed over the
    // old one.
    void Replace(const QString& path, const std::string& bytes) const {
        const std::string temporary = scratch.File("other-editor.tmp");
        ScratchFolder::Write(temporary, bytes);
        ASSERT_EQ(std::rename(temporary.c_str(), path.toLocal8Bit().constData()), 0);
    }

    // The next message box gets the button of the role pressed; its text is
    // kept in asked.
    void Answer(QMessageBox::ButtonRole role) {
        asked.clear();
        WhenModal<QMessageBox>([this, role](QMessageBox* box) {
            asked = box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (box->buttonRole(button) == role) {
                    button->click();
                    return;
                }
            }
            ADD_FAILURE() << "no button of the role asked";
            box->reject();
        });
    }

    QtUiServices qtUi;
    QString asked;
};

TEST_F(FilesChangedTest, ChangesOnDiskAreToldWhenTheWindowIsActive) {
    const QString path = WriteFile("page.htm", "one\r\ntwo\r\nthree\r\n");
    ASSERT_TRUE(app->InitInstance(path));
    Activate();
    CHebDoc* doc = ActiveDoc();
    ASSERT_NE(doc, nullptr);
    IEditorText* editor = doc->GetView();
    editor->SetSel(editor->LineIndex(2), editor->LineIndex(2));

    // Unmodified: read again at once, the caret on its line.
    Replace(path, "uno\r\ndos\r\ntres\r\ncuatro\r\n");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return doc->GetText() == "uno\r\ndos\r\ntres\r\ncuatro\r\n"; }));
    EXPECT_FALSE(doc->IsModified());
    long start = 0;
    long end = 0;
    editor->GetSel(start, end);
    EXPECT_EQ(editor->LineFromChar(start), 2);

    // Modified, the file written in place: the user keeps the edits.
    editor->ReplaceSel("mine ", true);
    ASSERT_TRUE(doc->IsModified());
    Answer(QMessageBox::RejectRole);
    ScratchFolder::Write(path.toStdString(), "theirs\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !asked.isEmpty(); }));
    EXPECT_TRUE(asked.contains(path));
    EXPECT_TRUE(asked.contains(QStringLiteral("שונה")));
    // Coming back to the window does not ask again about the same file.
    SetUiServices(&ui);
    Activate();
    Settle();
    EXPECT_TRUE(ui.choiceQuestions.isEmpty());
    SetUiServices(&qtUi);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_NE(doc->GetText().find("mine tres"), std::string::npos);

    // Saving over it asks first; No leaves file and edits alone.
    Answer(QMessageBox::RejectRole);
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_TRUE(asked.contains(QStringLiteral("תוכנה אחרת")));
    EXPECT_EQ(ScratchFolder::Read(path.toStdString()), "theirs\r\n");
    EXPECT_TRUE(doc->IsModified());
    Activate();

    // Changed again: this time the user takes the file's text.
    Answer(QMessageBox::AcceptRole);
    Replace(path, "latest\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc->GetText() == "latest\r\n"; }));
    EXPECT_FALSE(doc->IsModified());
    Activate();

    // Deleted: said, and the document becomes modified so that closing it
    // asks to save.
    Answer(QMessageBox::AcceptRole);
    ASSERT_EQ(::unlink(path.toLocal8Bit().constData()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !asked.isEmpty(); }));
    EXPECT_TRUE(asked.contains(QStringLiteral("נמחק")));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetText(), "latest\r\n");
}

TEST_F(FilesChangedTest, OwnSavesAndUnchangedBytesAreNoChange) {
    SetUiServices(&ui);  // any question would be recorded here
    const QString path = WriteFile("page.htm", "<p>a</p>\r\n");
    ASSERT_TRUE(app->InitInstance(path));
    Activate();
    CHebDoc* doc = ActiveDoc();
    doc->GetView()->ReplaceSel("x", true);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(doc->DoFileSave());
        doc->GetView()->ReplaceSel("y", true);
        QTest::qWait(150);
    }
    // Another program writes the same bytes again: only the time changes.
    const std::string bytes = ScratchFolder::Read(path.toStdString());
    Replace(path, bytes);
    QTest::qWait(300);
    EXPECT_TRUE(ui.choiceQuestions.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(doc->DoFileSave());
    EXPECT_TRUE(ui.choiceQuestions.isEmpty());

    // A change the watcher has not delivered yet is still caught at save.
    doc->GetView()->ReplaceSel("z", true);
    Replace(path, "changed\r\n");
    ui.choiceAnswers = {false};
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(ui.choiceQuestions.size(), 1);
    EXPECT_EQ(ScratchFolder::Read(path.toStdString()), "changed\r\n");
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FilesChangedTest, AFileOpenUnderAnotherNameActivatesItsWindow) {
    SetUiServices(&ui);
    const QString path = WriteFile("page.htm", "<p>a</p>\r\n");
    ASSERT_TRUE(QDir().mkpath(Path("sub")));
    ASSERT_EQ(::symlink(path.toLocal8Bit().constData(), Path("symlink.htm").toLocal8Bit()), 0);
    ASSERT_EQ(::link(path.toLocal8Bit().constData(), Path("hardlink.htm").toLocal8Bit()), 0);
    ASSERT_TRUE(app->InitInstance(path));
    CDocument* page = ActiveDoc();
    for (const QString& other :
         {Path("symlink.htm"), Path("hardlink.htm"), Path("sub/../page.htm")}) {
        app->OnFileNew();
        ASSERT_NE(ActiveDoc(), page);
        app->OpenDroppedFile(other);
        EXPECT_EQ(ActiveDoc(), page) << other.toStdString();
    }
    Settle();
    EXPECT_EQ(Editor()->Documents().size(), 4);  // the page and three new ones
}

TEST_F(FilesChangedTest, ASecondStartHandsItsFileToTheRunningOne) {
    SetUiServices(&ui);
    ::setenv("XDG_RUNTIME_DIR", scratch.Path().c_str(), 1);
    ::setenv("DISPLAY", ":handover", 1);
    ::unsetenv("WAYLAND_DISPLAY");
    const QString name = SingleInstance::ServerName();
    EXPECT_TRUE(name.startsWith(QString::fromStdString(scratch.Path().string())));
    EXPECT_TRUE(name.contains(QString::number(::getuid())));

    ASSERT_TRUE(app->InitInstance());
    SingleInstance running;
    ASSERT_TRUE(running.Listen(name));
    QObject::connect(&running, &SingleInstance::FilesReceived, app.get(),
                     &CHebApp::OpenFilesFromElsewhere);
    // A second program for the same user and display does not take over.
    SingleInstance other;
    EXPECT_FALSE(other.Listen(name));

    WriteFile("handed.htm", "<p>h</p>\r\n");
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(QString::fromStdString(scratch.Path().string()));
    second.start(QStringLiteral(MIRVAL_BINARY), {QStringLiteral("handed.htm")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Editor()->Documents().size() == 2; }));
    EXPECT_EQ(ActiveDoc()->GetPathName(), Path("handed.htm"));

    // A program that takes the call but never answers, and none at all: the
    // second start runs on its own.
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(Path("silent")));
    EXPECT_FALSE(SingleInstance::HandOver(Path("silent"), {Path("handed.htm")}));
    EXPECT_FALSE(SingleInstance::HandOver(Path("nobody"), {Path("handed.htm")}));
}

}  // namespace
