#pragma once

#include <QString>

// The state an update handler gives one command: enabled, checked, and for a
// status-bar pane its text.
class CCmdUI {
public:
    explicit CCmdUI(int id) : m_nID(id) {}

    int ID() const { return m_nID; }
    void Enable(bool enable = true) { m_bEnabled = enable; }
    void SetCheck(bool check = true) { m_bChecked = check; }
    void SetText(const QString& text) {
        m_strText = text;
        m_bTextSet = true;
    }

    bool IsEnabled() const { return m_bEnabled; }
    bool IsChecked() const { return m_bChecked; }
    bool HasText() const { return m_bTextSet; }
    const QString& Text() const { return m_strText; }

private:
    int m_nID;
    bool m_bEnabled = true;
    bool m_bChecked = false;
    bool m_bTextSet = false;
    QString m_strText;
};
