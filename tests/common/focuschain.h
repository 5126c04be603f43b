#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <string>

// The widgets Tab visits inside dialog (shown), in order, from its first.
inline QList<QWidget*> FocusChain(QWidget* dialog) {
    QList<QWidget*> chain;
    for (QWidget* widget = dialog->nextInFocusChain(); widget != dialog;
         widget = widget->nextInFocusChain()) {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isVisible() &&
            widget->isEnabled() && widget->focusProxy() == nullptr &&
            dialog->isAncestorOf(widget)) {
            chain.append(widget);
        }
    }
    return chain;
}

// Whether a chain reads as a right-to-left page does: each widget either on
// the same row as the one before and left of it, or on a row further down.
inline bool FollowsRightToLeftReading(const QList<QWidget*>& chain, QWidget* dialog) {
    for (qsizetype i = 1; i < chain.size(); ++i) {
        const QRect before(chain[i - 1]->mapTo(dialog, QPoint()), chain[i - 1]->size());
        const QRect after(chain[i]->mapTo(dialog, QPoint()), chain[i]->size());
        const bool sameRow =
            after.center().y() >= before.top() && after.center().y() <= before.bottom();
        const bool below = after.center().y() > before.bottom();
        if (!(below || (sameRow && after.center().x() < before.center().x()))) {
            return false;
        }
    }
    return true;
}

// The chain as text, for a failure's message: each widget's name (or text)
// and where it is in dialog.
inline std::string DescribeChain(const QList<QWidget*>& chain, QWidget* dialog) {
    QStringList parts;
    for (QWidget* widget : chain) {
        QString name = widget->objectName();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            name += QLatin1Char(' ') + button->text();
        }
        const QPoint at = widget->mapTo(dialog, QPoint());
        parts.append(QStringLiteral("%1 %2@(%3,%4 %5x%6)")
                         .arg(QString::fromLatin1(widget->metaObject()->className()), name)
                         .arg(at.x())
                         .arg(at.y())
                         .arg(widget->width())
                         .arg(widget->height()));
    }
    return parts.join(QStringLiteral("; ")).toStdString();
}
