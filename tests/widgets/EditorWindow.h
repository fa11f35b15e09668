#pragma once
// A shown window holding the editor, focused, and a control after it in the
// tab order, for tests that type keys.

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "SqlEditor.h"

struct TEditorWindow {
    QWidget window;
    TSqlEditor* editor = new TSqlEditor(&window);
    QLineEdit* next = new QLineEdit(&window);

    explicit TEditorWindow(QSize size = QSize())
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(editor);
        layout->addWidget(next);
        if (size.isValid())
            window.resize(size);
        window.show();
        QApplication::setActiveWindow(&window);
        editor->setFocus();
    }
};
