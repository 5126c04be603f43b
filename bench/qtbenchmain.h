#pragma once

#include <QPlainTextDocumentLayout>
#include <QTextDocument>

#include "view/hebview.h"

// The main of the benchmarks that need the editor: a QApplication on the
// offscreen platform, a profile of their own (the user's stays out of it) and
// user-interface services that show nothing.
int RunQtBenchmarks(int argc, char** argv);

// A view of its own text, as a document gives it one.
struct EditorView {
    QTextDocument text;
    CHebView view;

    EditorView() : view(InitText(&text)) { view.resize(800, 600); }

    static QTextDocument* InitText(QTextDocument* text) {
        text->setDocumentLayout(new QPlainTextDocumentLayout(text));
        text->setUndoRedoEnabled(true);
        return text;
    }
};
