#include "options/optionssheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <cstdlib>

#include "common/fakeui.h"
#include "common/hebrew.h"
#include "options/modaldriver.h"
#include "options/optionspage.h"
#include "options/qtoptionssheet.h"

namespace {

using Sheet = COptionsSheet;

template <class W = QWidget>
W* Control(Sheet* sheet, int page, const char* id) {
    W* control = sheet->GetPage(page)->findChild<W*>(QString::fromLatin1(id));
    if (control == nullptr) {
        ADD_FAILURE() << "page " << page << " has no control " << id;
        std::abort();
    }
    return control;
}

QTabWidget* Tabs(Sheet* sheet) {
    return sheet->findChild<QTabWidget*>();
}

QPushButton* Button(Sheet* sheet, QDialogButtonBox::StandardButton which) {
    return sheet->findChild<QDialogButtonBox*>()->button(which);
}

void Ok(Sheet* sheet) {
    Button(sheet, QDialogButtonBox::Ok)->click();
}
void Cancel(Sheet* sheet) {
    Button(sheet, QDialogButtonBox::Cancel)->click();
}

bool Enabled(Sheet* sheet, int page, const char* id) {
    return Control(sheet, page, id)->isEnabled();
}

class OptionsSheetTest : public ::testing::Test {
protected:
    // Shows the sheet at page; action gets it open and must close it.
    bool Run(int page, std::function<void(Sheet*)> action) {
        WhenModal<Sheet>(std::move(action));
        return QtOptionsSheet().Run(values, page);
    }

    FakeUi ui;
    OptionsValues values;
};

TEST_F(OptionsSheetTest, OpensAtEachStartPageWithThatPageFilled) {
    const char* captions[] = {"המרה", "פונט תצוגה", "טבלה", "תמונה", "צפיה בדפדפן"};
    // A control of each page and what it shows from the default values.
    const std::pair<const char*, QString> shown[] = {{"1007", "70"},
                                                     {"1028", "Arial, 10"},
                                                     {"1017", "<table border=\"1\">"},
                                                     {"1021", "0"},
                                                     {"1022", "<meta charset='visual'>"}};
    for (int page = 0; page < Sheet::kPageCount; ++page) {
        const bool confirmed = Run(page, [&](Sheet* sheet) {
            EXPECT_EQ(sheet->windowTitle(), QString::fromUtf8("אפשרויות"));
            EXPECT_EQ(sheet->layoutDirection(), Qt::RightToLeft);
            EXPECT_EQ(Tabs(sheet)->currentIndex(), page);
            EXPECT_EQ(Tabs(sheet)->tabText(page), QString::fromUtf8(captions[page]));
            QWidget* control = Control(sheet, page, shown[page].first);
            auto* edit = qobject_cast<QLineEdit*>(control);
            EXPECT_EQ(edit ? edit->text() : qobject_cast<QTextEdit*>(control)->toPlainText(),
                      shown[page].second);
            EXPECT_FALSE(Button(sheet, QDialogButtonBox::Apply)->isEnabled());
            Cancel(sheet);
        });
        EXPECT_FALSE(confirmed);
    }
}

TEST_F(OptionsSheetTest, ConversionGroupsFollowTheFlagsWhenShownAndOnClicks) {
    values.conversion.BreakLines = 0;
    values.conversion.AddToHebParagraph = 1;
    Run(kTablePage, [](Sheet* sheet) {
        Tabs(sheet)->setCurrentIndex(kConversionPage);
        for (const char* id : {"1006", "1007", "1008", "1009"}) {
            EXPECT_FALSE(Enabled(sheet, 0, id)) << id;
        }
        for (const char* id : {"1011", "1012", "1013", "1014"}) {
            EXPECT_TRUE(Enabled(sheet, 0, id)) << id;
        }
        Control<QCheckBox>(sheet, 0, "1005")->click();
        Control<QCheckBox>(sheet, 0, "1010")->click();
        for (const char* id : {"1006", "1007", "1008", "1009"}) {
            EXPECT_TRUE(Enabled(sheet, 0, id)) << id;
        }
        for (const char* id : {"1011", "1012", "1013", "1014"}) {
            EXPECT_FALSE(Enabled(sheet, 0, id)) << id;
        }
        Cancel(sheet);
    });
}

TEST_F(OptionsSheetTest, BorderValueFollowsBorderAndAltTitleIdShowTheRecordReadOnly) {
    values.image.ImageBorder = 0;
    values.image.ImageAlt = 5;
    values.image.szImageId = -1;
    EXPECT_TRUE(Run(kImagePage, [](Sheet* sheet) {
        EXPECT_FALSE(Enabled(sheet, 3, "1021"));
        Control<QCheckBox>(sheet, 3, "1020")->click();
        EXPECT_TRUE(Enabled(sheet, 3, "1021"));
        const std::pair<const char*, bool> unbound[] = {
            {"1022", true}, {"1023", false}, {"1024", true}};
        for (const auto& [id, checked] : unbound) {
            EXPECT_EQ(Control<QCheckBox>(sheet, 3, id)->isChecked(), checked) << id;
            EXPECT_FALSE(Enabled(sheet, 3, id)) << id;
        }
        Ok(sheet);
    }));
    EXPECT_EQ(values.image.ImageBorder, 1);
    EXPECT_EQ(values.image.ImageAlt, 5);
    EXPECT_EQ(values.image.szImageId, -1);
}

TEST_F(OptionsSheetTest, BrowseButtonFollowsExternalAndSetsTheProgram) {
    const QString program = QString::fromUtf8("/opt/דפדפן/run");
    values.browse.BrowseFile = "/usr/bin/old";
    ui.fileAnswers = {QString(), program};  // cancelled, then chosen
    EXPECT_TRUE(Run(kBrowsePage, [&](Sheet* sheet) {
        EXPECT_FALSE(Enabled(sheet, 4, "1025"));
        EXPECT_FALSE(Enabled(sheet, 4, "1024"));
        Control<QCheckBox>(sheet, 4, "1023")->click();
        EXPECT_TRUE(Enabled(sheet, 4, "1025"));
        EXPECT_FALSE(Enabled(sheet, 4, "1024"));
        auto* path = Control<QLineEdit>(sheet, 4, "1024");
        Control<QPushButton>(sheet, 4, "1025")->click();  // cancelled
        EXPECT_EQ(path->text(), "/usr/bin/old");
        Control<QPushButton>(sheet, 4, "1025")->click();
        EXPECT_EQ(path->text(), program);
        Ok(sheet);
    }));
    ASSERT_TRUE(ui.lastRequest);
    EXPECT_EQ(ui.lastRequest->filter, "Programs|*|All files (*.*)|*.*||");
    EXPECT_TRUE(ui.lastRequest->defaultName.isEmpty());
    EXPECT_TRUE(ui.lastRequest->defaultExt.isEmpty());
    EXPECT_EQ(values.browse.BrowseExternal, 1);
    EXPECT_EQ(values.browse.BrowseFile, QFile::encodeName(program).toStdString());
}

struct Refusal {
    int page;
    const char* id;
    const char* text;
    const char* range;  // what the message names
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << "page " << refusal.page << " " << refusal.id << " "
         << ::testing::PrintToString(std::string(refusal.text));
}

class RefusalTest : public OptionsSheetTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, KeepsTheSheetOpenOnThePageWithTheFieldSelected) {
    const Refusal refusal = GetParam();
    const OptionsValues given = values;
    EXPECT_FALSE(Run(refusal.page, [&](Sheet* sheet) {
        auto* field = Control<QLineEdit>(sheet, refusal.page, refusal.id);
        field->setText(refusal.text);
        Ok(sheet);
        EXPECT_TRUE(sheet->isVisible());
        Tabs(sheet)->setCurrentIndex((refusal.page + 1) % Sheet::kPageCount);
        EXPECT_EQ(Tabs(sheet)->currentIndex(), refusal.page);
        EXPECT_EQ(sheet->GetActiveIndex(), refusal.page);
        EXPECT_EQ(sheet->focusWidget(), field);
        EXPECT_EQ(field->selectedText(), field->text());
        EXPECT_EQ(ui.messages.size(), 2);
        Cancel(sheet);
    }));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(ui.messages[0].contains(QString::fromUtf8(refusal.range))) << refusal.text;
    EXPECT_EQ(values.conversion, given.conversion);
    EXPECT_EQ(values.image, given.image);
}

INSTANTIATE_TEST_SUITE_P(OutOfRange, RefusalTest,
                         ::testing::Values(Refusal{0, "1007", "29", "30 ל-200"},
                                           Refusal{0, "1007", "201", "30 ל-200"},
                                           Refusal{0, "1007", "abc", "30 ל-200"},
                                           Refusal{0, "1007", "", "30 ל-200"},
                                           Refusal{3, "1021", "101", "0 ל-100"}));

INSTANTIATE_TEST_SUITE_P(LineEnd, RefusalTest,
                         ::testing::Values(Refusal{0, "1008", "<br>\r\n", "מעבר שורה"},
                                           Refusal{2, "1017", "<table\n>", "מעבר שורה"},
                                           Refusal{2, "1019", "\r<td>", "מעבר שורה"},
                                           Refusal{4, "1022", "<meta>\n", "מעבר שורה"}));

TEST_F(OptionsSheetTest, NumberFieldsTakeDigitsOnlyAndAcceptTheEndsOfTheirRanges) {
    for (const auto& [length, border] : {std::pair{"30", "100"}, std::pair{"200", "0"}}) {
        EXPECT_TRUE(Run(kConversionPage, [&](Sheet* sheet) {
            auto* field = Control<QLineEdit>(sheet, 0, "1007");
            field->clear();
            QTest::keyClicks(field, "1a-2");
            EXPECT_EQ(field->text(), "12");
            field->setText(length);
            Tabs(sheet)->setCurrentIndex(kImagePage);
            Control<QLineEdit>(sheet, 3, "1021")->setText(border);
            Ok(sheet);
        }));
        EXPECT_EQ(values.conversion.BreakLinesAt, atoi(length));
        EXPECT_EQ(values.image.ImageBValue, atoi(border));
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OptionsSheetTest, ADisabledNumberOutOfRangeIsKeptAsItWas) {
    values.conversion.BreakLines = 0;
    values.conversion.BreakLinesAt = 500;
    EXPECT_TRUE(Run(kConversionPage, [](Sheet* sheet) { Ok(sheet); }));
    EXPECT_EQ(values.conversion.BreakLinesAt, 500);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OptionsSheetTest, ALineEndWhereItCannotBeCorrectedIsNotTaken) {
    values.conversion.BeforeHebParagraph = "<p>";
    values.browse.BrowseExternal = 1;
    values.browse.BrowseFile = "/usr/bin/old";
    ui.fileAnswers = {QStringLiteral("/opt/a\nb")};
    EXPECT_TRUE(Run(kConversionPage, [](Sheet* sheet) {
        Control<QCheckBox>(sheet, 0, "1010")->click();
        Control<QLineEdit>(sheet, 0, "1012")->setText("a\nb");
        Control<QCheckBox>(sheet, 0, "1010")->click();  // the field is disabled again
        Tabs(sheet)->setCurrentIndex(kBrowsePage);
        Control<QPushButton>(sheet, 4, "1025")->click();
        EXPECT_EQ(Control<QLineEdit>(sheet, 4, "1024")->text(), "/usr/bin/old");
        Ok(sheet);
    }));
    EXPECT_EQ(values.conversion.BeforeHebParagraph, "<p>");
    EXPECT_EQ(values.browse.BrowseFile, "/usr/bin/old");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(QString::fromUtf8("מעבר שורה")));
}

TEST_F(OptionsSheetTest, OkStoresEveryVisitedPageAndNonZeroFlagsAsOne) {
    values.conversion.RemoveTag = -3;
    values.conversion.TwoCRLFPara = 7;
    values.table.TableDisplay = 9;
    const OptionsValues given = values;
    EXPECT_TRUE(Run(kConversionPage, [&](Sheet* sheet) {
        EXPECT_TRUE(Control<QCheckBox>(sheet, 0, "1015")->isChecked());
        EXPECT_TRUE(Control<QCheckBox>(sheet, 0, "1017")->isChecked());
        Control<QLineEdit>(sheet, 0, "1007")->setText("120");
        Control<QCheckBox>(sheet, 0, "1010")->click();
        Tabs(sheet)->setCurrentIndex(kImagePage);
        Control<QCheckBox>(sheet, 3, "1018")->click();
        Tabs(sheet)->setCurrentIndex(kBrowsePage);
        Control<QLineEdit>(sheet, 4, "1022")->setText("<meta charset=\"x\">");
        Tabs(sheet)->setCurrentIndex(kConversionPage);
        EXPECT_EQ(Control<QLineEdit>(sheet, 0, "1007")->text(), "120");
        Ok(sheet);
    }));
    ConversionSettings conversion = given.conversion;
    conversion.BreakLinesAt = 120;
    conversion.AddToHebParagraph = 1;
    conversion.RemoveTag = 1;
    conversion.TwoCRLFPara = 1;
    EXPECT_EQ(values.conversion, conversion);
    EXPECT_EQ(values.image.ImageWidth, 0);
    EXPECT_EQ(values.browse.BrowseMeta, "<meta charset=\"x\">");
    // The table page was never shown: its record is as it was given.
    EXPECT_EQ(values.table, given.table);
    EXPECT_EQ(values.textFont, given.textFont);
}

TEST_F(OptionsSheetTest, CancelLeavesTheValuesAsTheyWere) {
    values.conversion.BeforeHebParagraph = Heb("<p title=\"שלום\x80\">");
    const OptionsValues given = values;
    EXPECT_FALSE(Run(kConversionPage, [](Sheet* sheet) {
        Control<QLineEdit>(sheet, 0, "1007")->setText("150");
        Control<QLineEdit>(sheet, 0, "1012")->setText("<p>");
        Tabs(sheet)->setCurrentIndex(kTablePage);
        Control<QLineEdit>(sheet, 2, "1018")->setText("<tr x>");
        Tabs(sheet)->setCurrentIndex(kFontPage);
        Control<QCheckBox>(sheet, 1, "1031")->click();
        Cancel(sheet);
    }));
    EXPECT_EQ(values.conversion, given.conversion);
    EXPECT_EQ(values.table, given.table);
    EXPECT_EQ(values.showSyntax, given.showSyntax);
}

TEST_F(OptionsSheetTest, AHebrewTagComesBackByteForByte) {
    values.conversion.BeforeHebParagraph = Heb("<div title=\"שלום\x80\">");
    const OptionsValues given = values;
    EXPECT_TRUE(Run(kConversionPage, [](Sheet* sheet) {
        EXPECT_TRUE(
            Control<QLineEdit>(sheet, 0, "1012")->text().contains(QString::fromUtf8("שלום")));
        Ok(sheet);
    }));
    EXPECT_EQ(values.conversion, given.conversion);
}

// The font page.

QTextCharFormat SampleFormat(Sheet* sheet, const char* id) {
    QTextCursor cursor(Control<QTextEdit>(sheet, 1, id)->document());
    cursor.setPosition(1);
    return cursor.charFormat();
}

TEST_F(OptionsSheetTest, SamplesShowFaceAndWholePointsInTheirFont) {
    values.codeFont = {"DejaVu Sans", 1 | 2, 0x8000, 210};
    EXPECT_TRUE(Run(kFontPage, [](Sheet* sheet) {
        EXPECT_EQ(Control<QTextEdit>(sheet, 1, "1028")->toPlainText(), "Arial, 10");
        EXPECT_EQ(Control<QTextEdit>(sheet, 1, "1029")->toPlainText(), "DejaVu Sans, 10");
        const QTextCharFormat code = SampleFormat(sheet, "1029");
        EXPECT_EQ(code.fontPointSize(), 10.5);
        EXPECT_EQ(code.fontWeight(), QFont::Bold);
        EXPECT_TRUE(code.fontItalic());
        EXPECT_EQ(code.foreground().color(), QColor(0, 0x80, 0));
        EXPECT_TRUE(Control<QTextEdit>(sheet, 1, "1028")->isReadOnly());
        Ok(sheet);
    }));
}

TEST_F(OptionsSheetTest, ChoosingAFontTakesFontThenColour) {
    values.codeFont = {"DejaVu Sans", 0, 0x8000, 200};
    EXPECT_TRUE(Run(kFontPage, [](Sheet* sheet) {
        WhenModal<QFontDialog>([](QFontDialog* dialog) {
            QFont font("DejaVu Sans", 12, QFont::Bold, true);
            font.setUnderline(true);
            dialog->setCurrentFont(font);
            dialog->accept();
        });
        WhenModal<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
            dialog->accept();
        });
        Control<QPushButton>(sheet, 1, "1027")->click();
        EXPECT_EQ(Control<QTextEdit>(sheet, 1, "1028")->toPlainText(), "DejaVu Sans, 12");

        // A plain font confirmed as the dialog shows it stays plain, and a
        // cancelled colour stays as it was.
        WhenModal<QFontDialog>([](QFontDialog* dialog) { dialog->accept(); });
        WhenModal<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
        Control<QPushButton>(sheet, 1, "1030")->click();
        // Cancelling the font asks no colour.
        WhenModal<QFontDialog>([](QFontDialog* dialog) { dialog->reject(); });
        Control<QPushButton>(sheet, 1, "1030")->click();
        Ok(sheet);
    }));
    EXPECT_EQ(values.textFont, (FontSettings{"DejaVu Sans", 1 | 2 | 4, 0x563412, 240}));
    EXPECT_EQ(values.codeFont, (FontSettings{"DejaVu Sans", 0, 0x8000, 200}));
}

}  // namespace
