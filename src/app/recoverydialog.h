#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "framework/recoveryfolder.h"

class CDocTemplate;
class QComboBox;

// The dialog that offers, at start-up, the documents whose unsaved edits an
// earlier run left in recovery journals: one row per document (its path or
// untitled title, the time of its last change, its size, and a note when its
// file changed on disk since), each with its choice: recover, discard or
// decide later.
class CRecoveryDialog : public QDialog {
    Q_OBJECT

public:
    enum class Choice { Recover, Discard, Later };

    CRecoveryDialog(const std::vector<recoveryfolder::Orphan>& orphans, QWidget* parent = nullptr);
    // One choice per journal, in the order given.
    std::vector<Choice> Choices() const;

    // The text of one row's cells.
    static QString DocumentName(const recoveryjournal::Header& header);
    static QString Note(const recoveryfolder::Orphan& orphan);
    // The size of the recovered text as it would be saved, in bytes.
    static qint64 SavedSize(const recoveryjournal::Replayed& journal);

private:
    std::vector<QComboBox*> m_choices;
};

// Finds the journals in the folder that no running program holds and, when
// there are any, asks what to do with them: recovered documents open as
// modified documents of the editor template; closing the dialog decides later
// for every one.
void OfferRecovery(CDocTemplate* editor, QWidget* parent, const std::string& folder);
