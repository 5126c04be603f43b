#include "app/aboutdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/commandicons.h"

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("אודות MIRVAL"));
    auto* icon = new QLabel(this);
    icon->setPixmap(CommandIcons::Application().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    text->addWidget(new QLabel(tr("MIRVAL גרסה 4.00 בטה"), this));
    text->addWidget(new QLabel(tr("כל הזכויות שמורות למפתחי MIRVAL."), this));
    text->addWidget(new QLabel(tr("עורך לדפי אינטרנט בעברית ויזואלית ולוגית."), this));
    text->addWidget(new QLabel(tr("הערות והצעות: דרך דף הבית של התוכנה."), this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("אישור"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0);
    layout->addLayout(text, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
