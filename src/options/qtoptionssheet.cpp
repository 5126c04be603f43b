#include "options/qtoptionssheet.h"

#include <QApplication>

#include "options/optionspage1.h"
#include "options/optionspage2.h"
#include "options/optionspage3.h"
#include "options/optionspage4.h"
#include "options/optionspage5.h"
#include "options/optionssheet.h"

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
