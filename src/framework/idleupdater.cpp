#include "framework/idleupdater.h"

#include <QEvent>
#include <QTimer>

IdleUpdater::IdleUpdater(QObject* parent) : QObject(parent) {}

void IdleUpdater::AddPass(std::function<void()> pass) {
    m_passes.push_back(std::move(pass));
}

void IdleUpdater::Schedule() {
    if (m_bScheduled) {
        return;
    }
    m_bScheduled = true;
    QTimer::singleShot(0, this, [this] { RunNow(); });
}

void IdleUpdater::RunNow() {
    m_bScheduled = false;
    for (const auto& pass : m_passes) {
        pass();
    }
}

bool IdleUpdater::eventFilter(QObject* watched, QEvent* event) {
    // Input and activation are what change the states of commands.
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
        case QEvent::FocusIn:
        case QEvent::WindowActivate:
        case QEvent::Clipboard:
        case QEvent::Drop:
            Schedule();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
