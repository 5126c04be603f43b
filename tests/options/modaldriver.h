#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

// Runs action on a modal dialog of type T once it is the active modal widget.
// Queued from the event loop and retried for a few seconds, so it can be set
// up before the call that opens the dialog; gives up with a failure and
// closes whatever is open, so that a test never hangs.
template <class T>
void WhenModal(std::function<void(T*)> action, int triesLeft = 400) {
    QTimer::singleShot(
        triesLeft == 400 ? 0 : 10, [action = std::move(action), triesLeft]() mutable {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                action(dialog);
                return;
            }
            if (triesLeft == 0) {
                ADD_FAILURE() << "no modal " << T::staticMetaObject.className();
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    if (auto* open = qobject_cast<QDialog*>(widget); open && open->isVisible()) {
                        open->reject();
                    }
                }
                return;
            }
            WhenModal<T>(std::move(action), triesLeft - 1);
        });
}
