#include "document/ioptionssheet.h"

namespace {
IOptionsSheet* g_sheet = nullptr;
}  // namespace

void SetOptionsSheet(IOptionsSheet* sheet) {
    g_sheet = sheet;
}

IOptionsSheet* GetOptionsSheet() {
    return g_sheet;
}
