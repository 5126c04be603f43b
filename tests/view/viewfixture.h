#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>

#include "common/fakeui.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "framework/cmdui.h"
#include "view/hebview.h"

// An editor document with its view, its own profile, and scripted dialogs.
class ViewFixture : public ::testing::Test {
protected:
    ViewFixture() { view.resize(320, 240); }

    void Show() {
        view.show();
        QApplication::processEvents();
    }
    std::pair<long, long> Sel() const {
        long start = -2;
        long end = -2;
        view.GetSel(start, end);
        return {start, end};
    }
    CCmdUI State(int id) {
        CCmdUI ui(id);
        EXPECT_TRUE(view.OnUpdateCmdMsg(ui)) << id;
        return ui;
    }
    void WriteProfile(const std::string& text) {
        ScratchFolder::Write(folder.File("profile.ini"), text);
    }

    ScratchFolder folder;  // first: the document reads the profile it names
    FakeUi ui;
    CHebDoc doc;
    CHebView view{&doc};
};

// Runs action on the modal dialog of type T once the event loop shows it;
// closes any dialog left open so that a failing test cannot hang.
template <class T>
void WhenModal(std::function<void(T*)> action, int triesLeft = 200) {
    QTimer::singleShot(triesLeft == 200 ? 0 : 10, [action = std::move(action), triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            action(dialog);
            return;
        }
        if (triesLeft > 0) {
            WhenModal<T>(action, triesLeft - 1);
            return;
        }
        ADD_FAILURE() << "no modal " << T::staticMetaObject.className();
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            open->reject();
        }
    });
}
