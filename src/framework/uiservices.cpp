#include "framework/uiservices.h"

#include <cstdio>
#include <cstdlib>

namespace {
IUiServices* g_services = nullptr;
}  // namespace

void SetUiServices(IUiServices* services) {
    g_services = services;
}

IUiServices& Ui() {
    if (g_services == nullptr) {
        std::fputs("mirval: no user interface services installed\n", stderr);
        std::abort();
    }
    return *g_services;
}
