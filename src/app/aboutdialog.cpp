#include "app/aboutdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/commandicons.h"

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    // Right to left whatever the program around it: the icon on the right,
    // every line starting at the right edge, also the lines that begin with
    // the program's Latin name.
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(tr("אודות MIRVAL"));
    auto* icon = new QLabel(this);
    icon->setPixmap(CommandIcons::Application().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    for (const QString& line : {tr("MIRVAL גרסה 4.00 בטה"), tr("כל הזכויות שמורות למפתחי MIRVAL."),
                                tr("עורך לדפי אינטרנט בעברית ויזואלית ולוגית."),
                                tr("הערות והצעות: דרך דף הבית של התוכנה.")}) {
        auto* label = new QLabel(line, this);
        // A label aligns by its text's first letter unless told otherwise.
        label->setAlignment(QStyle::visualAlignment(Qt::RightToLeft, Qt::AlignLeft) |
                            Qt::AlignVCenter);
        text->addWidget(label);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("אישור"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0);
    layout->addLayout(text, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
