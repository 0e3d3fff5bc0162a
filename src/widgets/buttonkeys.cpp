// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/buttonkeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tovanel {

namespace {

class EnterOnButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (key->isAutoRepeat()) return true;  // one press, one click
        static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

}  // namespace

void EnterPressesFocusedButton(QWidget* window)
{
    auto* filter = new EnterOnButton(window);
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->installEventFilter(filter);
    }
    window->setAttribute(Qt::WA_KeyboardFocusChange);
}

}  // namespace tovanel
