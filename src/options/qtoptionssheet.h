#pragma once

#include "document/ioptionssheet.h"

// The options sheet the application installs: COptionsSheet, run modally
// over the active window on copies of the values.
class QtOptionsSheet : public IOptionsSheet {
public:
    bool Run(OptionsValues& values, int startPage) override;
};
