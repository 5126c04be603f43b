#include "options/qtoptionssheet.h"

#include <QApplication>

#include "options/optionsbrowsepage.h"
#include "options/optionsconversionpage.h"
#include "options/optionsfontpage.h"
#include "options/optionsimagepage.h"
#include "options/optionssheet.h"
#include "options/optionstablepage.h"

bool QtOptionsSheet::Run(OptionsValues& values, int startPage) {
    COptionsSheet sheet(QApplication::activeWindow());
    sheet.ConversionPage().m_conversion = values.conversion;
    sheet.FontPage().m_codeFont = values.codeFont;
    sheet.FontPage().m_textFont = values.textFont;
    sheet.FontPage().m_bShowSyntax = values.showSyntax;
    sheet.TablePage().m_table = values.table;
    sheet.ImagePage().m_image = values.image;
    sheet.BrowsePage().m_browse = values.browse;
    sheet.SetActivePage(startPage);

    if (sheet.exec() != QDialog::Accepted) {
        return false;
    }
    values.conversion = sheet.ConversionPage().m_conversion;
    values.codeFont = sheet.FontPage().m_codeFont;
    values.textFont = sheet.FontPage().m_textFont;
    values.showSyntax = sheet.FontPage().m_bShowSyntax;
    values.table = sheet.TablePage().m_table;
    values.image = sheet.ImagePage().m_image;
    values.browse = sheet.BrowsePage().m_browse;
    return true;
}
