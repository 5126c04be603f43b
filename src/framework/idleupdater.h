#pragma once

#include <QObject>
#include <functional>
#include <vector>

// Runs the registered update passes once the event loop is idle, however many
// times it was asked since the last pass: the states of menus, toolbar and
// status bar are brought up to date after every burst of input.
class IdleUpdater : public QObject {
    Q_OBJECT

public:
    explicit IdleUpdater(QObject* parent = nullptr);

    void AddPass(std::function<void()> pass);
    // Asks for one run of the passes when the application is next idle.
    void Schedule();
    // Runs the passes now (tests, and before a menu opens).
    void RunNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<std::function<void()>> m_passes;
    bool m_bScheduled = false;
};
