#include "app/installcheck.h"

#include <QFileInfo>

#include "app/hebapp.h"
#include "framework/programfolder.h"

namespace {

bool Report(std::FILE* out, const char* what, const QString& path) {
    const bool found = QFileInfo(path).isFile();
    std::fprintf(out, "%s: %s%s\n", what, qPrintable(path), found ? "" : " (missing)");
    return found;
}

}  // namespace

int RunInstallCheck(std::FILE* out) {
    bool found = Report(out, "definitions", FindDataFile(QStringLiteral("mirval.def")));
    found = Report(out, "help page", FindDataFile(QStringLiteral("h_mirval.htm"))) && found;
    found = Report(out, "default template", FindTemplate(CHebApp::DefaultTemplateName())) && found;
    const TemplateFolders folders = GetTemplateFolders();
    for (const QString& folder : folders.readFolders) {
        std::fprintf(out, "templates read from: %s\n", qPrintable(folder));
    }
    std::fprintf(out, "templates saved to: %s\n", qPrintable(folders.saveFolder));
    return found ? 0 : 1;
}
