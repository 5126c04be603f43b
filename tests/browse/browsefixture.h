#pragma once

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>
#include <string>

#include "app/appfixture.h"
#include "app/childframe.h"
#include "browse/browsedoc.h"
#include "browse/browseview.h"
#include "browse/webbrowser.h"
#include "common/fakesheet.h"
#include "document/hebdoc.h"

// A browser that records what the preview view asks of it.
// The application with preview windows whose browsers are fakes, and an
// options sheet that records its start pages.
class BrowseTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(app->InitInstance());
    }
    void TearDown() override { AppTest::TearDown(); }

    // A page opened from the scratch folder (not modified).
    CHebDoc* OpenPage(const char* name, const std::string& bytes) {
        const QString path = WriteFile(name, bytes);
        auto* doc = qobject_cast<CHebDoc*>(Editor()->OpenDocumentFile(path));
        Settle();
        return doc;
    }
    // Previews without the options sheet, as an internal preview.
    static void SetBrowse(CHebDoc* doc, int display, int external, const std::string& program,
                          const std::string& meta = "<meta charset='visual'>") {
        BrowseSettings settings;
        settings.BrowseDisplay = display;
        settings.BrowseExternal = external;
        settings.BrowseFile = program;
        settings.BrowseMeta = meta;
        doc->SetBrowseSettings(settings);
    }
    void Browse(CHebDoc* doc) {
        doc->OnBrowse();
        Settle();
    }
    // Types at the end of the document's editor, as the user does.
    void Type(CHebDoc* doc, const QString& text) {
        auto* editor = dynamic_cast<QPlainTextEdit*>(doc->GetFirstView());
        ASSERT_NE(editor, nullptr);
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, text);
        Settle();
    }

    static CBrowseDoc* PreviewOf(CHebDoc* doc) {
        return qobject_cast<CBrowseDoc*>(doc->GetPreviewDoc());
    }
    static CBrowseView* ViewOf(CDocument* doc) {
        return doc != nullptr ? dynamic_cast<CBrowseView*>(doc->GetFirstView()) : nullptr;
    }
    static FakeBrowser* BrowserOf(CDocument* doc) {
        CBrowseView* view = ViewOf(doc);
        return view != nullptr ? dynamic_cast<FakeBrowser*>(view->Browser()) : nullptr;
    }
    CChildFrame* FrameOf(CDocument* doc) const {
        for (CChildFrame* frame : Frame()->ChildFrames()) {
            if (frame->GetDocument() == doc) {
                return frame;
            }
        }
        return nullptr;
    }
    void Activate(CDocument* doc) {
        Frame()->MdiArea()->setActiveSubWindow(FrameOf(doc));
        Settle();
    }
    void CloseWindowOf(CDocument* doc) {
        ASSERT_NE(FrameOf(doc), nullptr);
        FrameOf(doc)->close();
        Settle();
    }
    static std::string ReadFile(const QString& path) {
        return ScratchFolder::Read(QFile::encodeName(path).toStdString());
    }

    FakeOptionsSheet sheet;
};
