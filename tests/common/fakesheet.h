#pragma once

#include <functional>
#include <vector>

#include "document/ioptionssheet.h"

// An options sheet that records where it was opened and answers as told.
class FakeOptionsSheet : public IOptionsSheet {
public:
    FakeOptionsSheet() { SetOptionsSheet(this); }
    ~FakeOptionsSheet() override { SetOptionsSheet(nullptr); }
    bool Run(OptionsValues& values, int startPage) override {
        pages.push_back(startPage);
        if (edit) {
            edit(values);
        }
        return confirm;
    }
    std::vector<int> pages;
    std::function<void(OptionsValues&)> edit;
    bool confirm = false;
};
