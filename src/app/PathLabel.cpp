#include "app/PathLabel.h"

#include <QLabel>

void ShowPathIn(QLabel* label, const std::string& path) {
    const QString whole = QString::fromStdString(path);
    QString breakable;
    for (const QChar c : whole) {
        breakable += c;
        // A zero-width space lets the line break after a separator.
        if (c == '/' || c == '\\') breakable += QChar(0x200B);
    }
    label->setWordWrap(true);
    label->setText(breakable);
    label->setToolTip(whole);
}
