// What a run of the main window's steps leaves each control with. Template controls start shown and enabled;
// a step changes only the controls it names.
#pragma once

#include <map>

#include "app/window_states.h"

class ControlStates {
public:
    void Apply(WindowStep step)
    {
        const ControlChanges changes = ChangesFor(step);
        for (const ControlChange* c = changes.changes; c != changes.changes + changes.count; ++c) {
            if (c->enabling != Enabling::Keep) enabled_[c->id] = c->enabling == Enabling::Enable;
            if (c->visibility != Visibility::Keep) shown_[c->id] = c->visibility == Visibility::Show;
        }
    }
    bool Shown(int id) const { return !shown_.count(id) || shown_.at(id); }
    bool Enabled(int id) const { return !enabled_.count(id) || enabled_.at(id); }

private:
    std::map<int, bool> shown_, enabled_;
};
