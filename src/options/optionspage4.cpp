#include "options/optionspage4.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "framework/localpath.h"
#include "framework/uiservices.h"
#include "options/optionsconversion.h"

COptionsPage4::COptionsPage4(QWidget* parent) : COptionsPage(parent) {
    m_pBrowseDisplay = MakeCheck("1016", tr("הצג מסך זה בכל צפיה בדפדפן"));
    m_pBrowseExternal = MakeCheck("1023", tr("השתמש בדפדפן חיצוני לצפיה"));
    m_pBrowseFile = MakeEdit("1024");
    m_pBrowseFile->setEnabled(false);
    m_pChooseFile = MakeButton("1025", tr("..."));
    auto* metaLabel = new QLabel(tr("לפני צפיה בדפדפן, הוסף לקובץ את ה-META TAG:"), this);
    metaLabel->setWordWrap(true);
    m_pBrowseMeta = MakeEdit("1022");
    metaLabel->setBuddy(m_pBrowseMeta);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pBrowseDisplay, 0, 0, 1, 2);
    layout->addWidget(m_pBrowseExternal, 1, 0, 1, 2);
    layout->addWidget(m_pBrowseFile, 2, 0);
    layout->addWidget(m_pChooseFile, 2, 1);
    layout->addWidget(metaLabel, 3, 0, 1, 2);
    layout->addWidget(m_pBrowseMeta, 4, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(5, 1);

    connect(m_pBrowseExternal, &QCheckBox::toggled, this, &COptionsPage4::OnBrowseExternal);
    connect(m_pChooseFile, &QPushButton::clicked, this, &COptionsPage4::OnBrowseFile);
}

bool COptionsPage4::DoDataExchange(bool saveAndValidate) {
    BrowseSettings& s = m_browse;
    ExchangeCheck(saveAndValidate, m_pBrowseDisplay, s.BrowseDisplay);
    ExchangeCheck(saveAndValidate, m_pBrowseExternal, s.BrowseExternal);
    if (saveAndValidate) {
        s.BrowseFile = LocalPath(m_pBrowseFile->text());
    } else {
        m_pBrowseFile->setText(PathFromLocal(s.BrowseFile));
    }
    return ExchangeText(saveAndValidate, m_pBrowseMeta, s.BrowseMeta);
}

void COptionsPage4::OnSetActive() {
    COptionsPage::OnSetActive();
    OnBrowseExternal();
}

void COptionsPage4::OnBrowseExternal() {
    m_pChooseFile->setEnabled(m_pBrowseExternal->isChecked());
}

FileDialogRequest COptionsPage4::BrowserProgramRequest(const QString& current) {
    FileDialogRequest request;
    // Programs here have no extension to filter by: both entries list every
    // file, and no name is proposed. The dialog opens where the current
    // program is, or among the installed programs.
    const QFileInfo program(current);
    if (program.isAbsolute() && program.dir().exists()) {
        request.folder = program.absolutePath();
    } else if (QDir(QStringLiteral("/usr/bin")).exists()) {
        request.folder = QStringLiteral("/usr/bin");
    }
    request.filter = tr("Programs|*|All files (*.*)|*.*||");
    request.confirmOverwrite = false;
    return request;
}

void COptionsPage4::OnBrowseFile() {
    const std::optional<QString> path =
        Ui().AskOpenFileName(BrowserProgramRequest(m_pBrowseFile->text()));
    if (!path) {
        return;
    }
    // The profile could not keep a program whose path holds a line end.
    if (HoldsLineEnd(LocalPath(*path))) {
        Ui().ShowMessage(tr("לא ניתן לבחור את התוכנית %1: שם שמכיל מעבר שורה אינו נשמר "
                            "בהגדרות.")
                             .arg(*path));
        return;
    }
    m_browse.BrowseFile = LocalPath(*path);
    m_pBrowseFile->setText(*path);
}
