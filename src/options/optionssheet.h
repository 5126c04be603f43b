#pragma once

#include <QDialog>
#include <array>

class COptionsPage;
class COptionsConversionPage;
class COptionsTablePage;
class COptionsImagePage;
class COptionsBrowsePage;
class COptionsFontPage;
class QDialogButtonBox;
class QTabWidget;

// The options sheet "אפשרויות": five pages in tabs, with OK, Cancel and Apply.
// No page marks itself changed, so Apply stays disabled. The pages keep the
// values; whoever runs the sheet fills them before and reads them after.
//
// A page is filled from its members each time it becomes the visible one, and
// stores its members when the user leaves it or confirms; a refused value
// keeps the sheet open on that page.
class COptionsSheet : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPageCount = 5;

    explicit COptionsSheet(QWidget* parent = nullptr);

    // By tab position (see OptionsPage); null outside 0..4.
    COptionsPage* GetPage(int index) const;
    COptionsConversionPage& ConversionPage() const { return *m_pConversion; }
    COptionsFontPage& FontPage() const { return *m_pFont; }
    COptionsTablePage& TablePage() const { return *m_pTable; }
    COptionsImagePage& ImagePage() const { return *m_pImage; }
    COptionsBrowsePage& BrowsePage() const { return *m_pBrowse; }

    // The page shown first, set before the sheet is shown; an index out of
    // range leaves the first page.
    void SetActivePage(int index);
    int GetActiveIndex() const { return m_nActive; }

    // OK: the visible page stores its values first; a refusal keeps the sheet
    // open.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnCurrentChanged(int index);

    COptionsConversionPage* m_pConversion;
    COptionsFontPage* m_pFont;
    COptionsTablePage* m_pTable;
    COptionsImagePage* m_pImage;
    COptionsBrowsePage* m_pBrowse;
    std::array<COptionsPage*, kPageCount> m_pages{};
    QTabWidget* m_pTabs;
    QDialogButtonBox* m_pButtons;
    int m_nActive = 0;
    bool m_bActivated = false;
};
