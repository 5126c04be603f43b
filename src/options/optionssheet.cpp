#include "options/optionssheet.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "options/optionsbrowsepage.h"
#include "options/optionsconversionpage.h"
#include "options/optionsfontpage.h"
#include "options/optionsimagepage.h"
#include "options/optionstablepage.h"

COptionsSheet::COptionsSheet(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("אפשרויות"));
    setLayoutDirection(Qt::RightToLeft);

    m_pConversion = new COptionsConversionPage;
    m_pFont = new COptionsFontPage;
    m_pTable = new COptionsTablePage;
    m_pImage = new COptionsImagePage;
    m_pBrowse = new COptionsBrowsePage;
    m_pages = {m_pConversion, m_pFont, m_pTable, m_pImage, m_pBrowse};

    m_pTabs = new QTabWidget(this);
    // Every tab in view: the sheet is at least as wide as its tab row.
    m_pTabs->setUsesScrollButtons(false);
    m_pTabs->addTab(m_pConversion, tr("המרה"));
    m_pTabs->addTab(m_pFont, tr("פונט תצוגה"));
    m_pTabs->addTab(m_pTable, tr("טבלה"));
    m_pTabs->addTab(m_pImage, tr("תמונה"));
    m_pTabs->addTab(m_pBrowse, tr("צפיה בדפדפן"));

    m_pButtons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    m_pButtons->button(QDialogButtonBox::Ok)->setText(tr("אישור"));
    m_pButtons->button(QDialogButtonBox::Cancel)->setText(tr("ביטול"));
    m_pButtons->button(QDialogButtonBox::Apply)->setText(tr("החל"));
    m_pButtons->button(QDialogButtonBox::Apply)->setEnabled(false);
    // Text alone, as in the program's other dialogs: a style's icon beside a
    // short right-to-left text cut the text off.
    for (QAbstractButton* button : m_pButtons->buttons()) {
        button->setIcon(QIcon());
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(m_pButtons);

    connect(m_pButtons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
    connect(m_pTabs, &QTabWidget::currentChanged, this, &COptionsSheet::OnCurrentChanged);
}

COptionsPage* COptionsSheet::GetPage(int index) const {
    return index >= 0 && index < kPageCount ? m_pages[index] : nullptr;
}

void COptionsSheet::SetActivePage(int index) {
    if (GetPage(index) == nullptr) {
        return;
    }
    if (!m_bActivated) {
        const QSignalBlocker blocker(m_pTabs);
        m_pTabs->setCurrentIndex(index);
        m_nActive = index;
        return;
    }
    m_pTabs->setCurrentIndex(index);
}

void COptionsSheet::showEvent(QShowEvent* event) {
    if (!m_bActivated) {
        m_bActivated = true;
        // Every page filled and its fields widened before the first layout:
        // the tabs then take the size of the largest page and keep it.
        for (COptionsPage* page : m_pages) {
            page->FitFieldsToValues();
        }
        layout()->activate();
        resize(sizeHint().expandedTo(size()));
        m_pages[m_nActive]->OnSetActive();
    }
    QDialog::showEvent(event);
}

void COptionsSheet::OnCurrentChanged(int index) {
    if (!m_bActivated || index == m_nActive) {
        return;
    }
    COptionsPage* leaving = m_pages[m_nActive];
    if (!leaving->OnKillActive()) {
        // The tab has already changed; go back before the user is told.
        {
            const QSignalBlocker blocker(m_pTabs);
            m_pTabs->setCurrentIndex(m_nActive);
        }
        leaving->ReportRefusal();
        return;
    }
    m_nActive = index;
    m_pages[m_nActive]->OnSetActive();
}

void COptionsSheet::accept() {
    COptionsPage* page = m_pages[m_nActive];
    if (!page->OnKillActive()) {
        page->ReportRefusal();
        return;
    }
    QDialog::accept();
}
