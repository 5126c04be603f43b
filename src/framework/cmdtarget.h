#pragma once

#include <span>

#include "framework/cmdui.h"

// Something a command can be routed to: a view, a document, a frame or the
// application. Each keeps a message map of the commands it handles.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the handler of command id; false when this target has none.
    virtual bool OnCmdMsg(int id) {
        (void)id;
        return false;
    }
    // Fills the command's state; false when this target neither handles the
    // command nor has an update handler for it. A target that handles a
    // command without an update handler leaves it enabled.
    virtual bool OnUpdateCmdMsg(CCmdUI& ui) {
        (void)ui;
        return false;
    }
};

// One row of a message map: a command id, its handler and, where the command
// can be unavailable, its update handler. Either may be null.
template <class T>
struct MessageEntry {
    int id;
    void (T::*handler)();
    void (T::*update)(CCmdUI&);
};

template <class T>
bool DispatchCommand(T* target, std::span<const MessageEntry<T>> map, int id) {
    for (const MessageEntry<T>& entry : map) {
        if (entry.id == id && entry.handler != nullptr) {
            (target->*entry.handler)();
            return true;
        }
    }
    return false;
}

template <class T>
bool DispatchUpdate(T* target, std::span<const MessageEntry<T>> map, CCmdUI& ui) {
    for (const MessageEntry<T>& entry : map) {
        if (entry.id != ui.ID()) {
            continue;
        }
        if (entry.update != nullptr) {
            (target->*entry.update)(ui);
        } else {
            ui.Enable(entry.handler != nullptr);
        }
        return true;
    }
    return false;
}
