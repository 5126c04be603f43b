#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/recoveryjournal.h"

// The folder of recovery journals and the journals in it that no running
// instance of the program holds (each open document's journal is locked).
namespace recoveryfolder {

// $MIRVAL_RECOVERY_DIR, else $XDG_STATE_HOME/mirval/recovery, else
// ~/.local/state/mirval/recovery.
std::string Folder();

// A journal left by a program that ended without saving or discarding.
struct Orphan {
    std::string path;
    int fd = -1;  // holds the journal's lock until released or removed
    recoveryjournal::Replayed journal;
    std::int64_t changedMs = 0;  // the journal's last write
    // The document's file changed on disk after the journal began.
    bool fileNewer = false;
};

// The orphaned journals, oldest change first, each locked. Files that hold no
// whole header and snapshot are deleted (a journal half made, which the
// program never renamed into place, or one that holds nothing to rebuild).
std::vector<Orphan> FindOrphans(const std::string& folder);
// Closes the journal and leaves it for a later start.
void Release(Orphan& orphan);
// Deletes the journal.
void Remove(Orphan& orphan);

}  // namespace recoveryfolder
